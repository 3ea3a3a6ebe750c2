#pragma once

#include <mutex>

#include "platform/Thread.h"

namespace pagora {

// A loader that works through requests and suspends itself when it has none.
// The UI thread hands it work only after seeing it suspended.
class TLoadCustomThread : public Thread {
  public:
    ~TLoadCustomThread() override { Stop(); }

  protected:
    void Execute() override;
    // Does one job; returns false when there was none.
    virtual bool DoJob() = 0;
};

// The book's page loader. It takes the spread to load and the direction; the
// pages themselves are loaded once the page cache exists, until then a request
// is only recorded.
class TLoadThread final : public TLoadCustomThread {
  public:
    TLoadThread() { Resume(); }
    ~TLoadThread() override { Stop(); }

    void Request(int spread, bool forward);
    int LastRequest() const;

  protected:
    bool DoJob() override;

  private:
    mutable std::mutex mutex_;
    int requested_ = 0;
    bool forward_ = true;
    bool pending_ = false;
};

}  // namespace pagora
