#include "Progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace kfa {
namespace {

constexpr int kBarWidth = 30;
constexpr size_t kLabelWidth = 32;

}  // namespace

Progress::Progress(int total) : shown_(::isatty(STDERR_FILENO) == 1), total_(std::max(total, 1)) {}

Progress::~Progress() {
    Clear();
}

void Progress::Begin(const std::string& label) {
    std::lock_guard lock(mutex_);
    label_ = label;
    Draw();
}

void Progress::Advance() {
    std::lock_guard lock(mutex_);
    done_ = std::min(done_ + 1, total_);
    Draw();
}

void Progress::Note(const std::string& message) {
    std::lock_guard lock(mutex_);
    Clear();
    std::cerr << message << '\n';
    Draw();
}

void Progress::Draw() {
    if (!shown_)
        return;
    int filled = done_ * kBarWidth / total_;
    std::string label = label_;
    if (label.size() > kLabelWidth) {
        size_t from = label.size() - (kLabelWidth - 3);
        while (from < label.size() && (static_cast<unsigned char>(label[from]) & 0xC0) == 0x80)
            ++from;  // not into the middle of a UTF-8 character
        label = "..." + label.substr(from);
    }
    std::string bar(filled, '#');
    bar.resize(kBarWidth, '-');
    std::fprintf(stderr, "\r[%s] %3d%% %s\033[K", bar.c_str(), done_ * 100 / total_, label.c_str());
    std::fflush(stderr);
}

void Progress::Clear() {
    if (!shown_)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
}

}  // namespace kfa
