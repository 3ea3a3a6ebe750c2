#pragma once

#include <mutex>
#include <string>

namespace kfa {

// A one-line progress bar on standard error, drawn only when standard error
// is a terminal. Messages go through Note so that they do not tear the bar.
// Any thread may report.
class Progress {
  public:
    explicit Progress(int total);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Shows that work on an item, named by label, has begun.
    void Begin(const std::string& label);
    // One finished item.
    void Advance();
    void Note(const std::string& message);

  private:
    void Draw();
    void Clear();

    std::mutex mutex_;
    bool shown_;
    int total_;
    int done_ = 0;
    std::string label_;
};

}  // namespace kfa
