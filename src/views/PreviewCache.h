#pragma once

#include <QImage>
#include <atomic>
#include <cstdint>
#include <memory>

namespace pagora {

// The browser's previews, one record per picture, kept for the run within a
// budget of bytes. The loader stores each record once, from nothing; the
// window thread reads them without a lock and is the only one to drop them.
class PreviewCache {
  public:
    static constexpr int64_t kDefaultBudget = int64_t{256} << 20;

    PreviewCache(int count, int perPage, int64_t budgetBytes = kDefaultBudget);
    ~PreviewCache();
    PreviewCache(const PreviewCache&) = delete;
    PreviewCache& operator=(const PreviewCache&) = delete;

    int Count() const { return count_; }
    int64_t Budget() const { return budget_; }
    // The bytes the previews held now take.
    int64_t Bytes() const { return bytes_.load(std::memory_order_relaxed); }

    // Any thread: record k holds a preview, or the mark of a picture that
    // made none (which is never made again).
    bool Has(int k) const;
    // The loader: record k takes the preview, a null one for a picture that
    // made none. A record that holds something already keeps it.
    void Store(int k, QImage preview);
    // The window thread: record k's preview, or null when it holds none.
    const QImage* Get(int k) const;
    // The window thread: while past the budget, the pages farthest from the
    // given one drop their previews; its own are kept.
    void Trim(int page);

  private:
    void Drop(int k);

    const int count_;
    const int perPage_;
    const int64_t budget_;
    std::unique_ptr<std::atomic<QImage*>[]> records_;
    std::atomic<int64_t> bytes_{0};
};

}  // namespace pagora
