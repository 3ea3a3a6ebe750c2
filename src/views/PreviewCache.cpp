#include "views/PreviewCache.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace pagora {

PreviewCache::PreviewCache(int count, int perPage, int64_t budgetBytes)
    : count_(std::max(count, 0)),
      perPage_(std::max(perPage, 1)),
      budget_(budgetBytes),
      records_(std::make_unique<std::atomic<QImage*>[]>(size_t(count_))) {
    for (int k = 0; k < count_; ++k)
        records_[k].store(nullptr, std::memory_order_relaxed);
}

PreviewCache::~PreviewCache() {
    for (int k = 0; k < count_; ++k)
        delete records_[k].load(std::memory_order_acquire);
}

bool PreviewCache::Has(int k) const {
    return k >= 0 && k < count_ && records_[k].load(std::memory_order_acquire) != nullptr;
}

void PreviewCache::Store(int k, QImage preview) {
    if (k < 0 || k >= count_)
        return;
    auto* made = new QImage(std::move(preview));
    const int64_t size = made->sizeInBytes();
    QImage* expected = nullptr;
    // The pixels are complete before the record is seen to hold them.
    if (!records_[k].compare_exchange_strong(expected, made, std::memory_order_acq_rel)) {
        delete made;
        return;
    }
    bytes_.fetch_add(size, std::memory_order_relaxed);
}

const QImage* PreviewCache::Get(int k) const {
    if (k < 0 || k >= count_)
        return nullptr;
    const QImage* preview = records_[k].load(std::memory_order_acquire);
    return preview != nullptr && !preview->isNull() ? preview : nullptr;
}

void PreviewCache::Drop(int k) {
    QImage* held = records_[k].load(std::memory_order_acquire);
    // Marks of pictures that made no preview cost nothing and stay.
    if (held == nullptr || held->isNull())
        return;
    records_[k].store(nullptr, std::memory_order_release);
    bytes_.fetch_sub(held->sizeInBytes(), std::memory_order_relaxed);
    delete held;
}

void PreviewCache::Trim(int page) {
    if (Bytes() <= budget_)
        return;
    const int pages = (count_ + perPage_ - 1) / perPage_;
    std::vector<int> order;
    for (int p = 1; p <= pages; ++p)
        if (p != page)
            order.push_back(p);
    // Farthest first; of two as far, the later page.
    std::sort(order.begin(), order.end(), [page](int a, int b) {
        const int da = std::abs(a - page), db = std::abs(b - page);
        return da != db ? da > db : a > b;
    });
    for (int p : order) {
        const int first = (p - 1) * perPage_, end = std::min(count_, p * perPage_);
        for (int k = first; k < end; ++k)
            Drop(k);
        if (Bytes() <= budget_)
            return;
    }
}

}  // namespace pagora
