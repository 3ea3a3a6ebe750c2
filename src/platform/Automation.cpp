#include "platform/Automation.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <sstream>

namespace pagora::automation {

namespace {

const auto startTime = std::chrono::steady_clock::now();

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

struct State {
    std::mutex Mutex;
    std::string File = Env("PAGORA_AUTOMATION");
    std::deque<std::string> Answers;
    State() {
        std::istringstream lines(Env("PAGORA_ANSWERS"));
        for (std::string line; std::getline(lines, line);)
            if (!line.empty())
                Answers.push_back(line);
    }
};

State& Get() {
    static State state;
    return state;
}

}  // namespace

bool Active() {
    return !Get().File.empty();
}

void Record(const std::string& line) {
    State& state = Get();
    if (state.File.empty())
        return;
    std::lock_guard lock(state.Mutex);
    if (FILE* out = std::fopen(state.File.c_str(), "a")) {
        std::fprintf(out, "%s\n", line.c_str());
        std::fclose(out);
    }
}

std::optional<std::string> NextAnswer(const std::string& dialog) {
    State& state = Get();
    std::lock_guard lock(state.Mutex);
    const std::string prefix = dialog + ":";
    for (auto it = state.Answers.begin(); it != state.Answers.end(); ++it) {
        if (it->compare(0, prefix.size(), prefix) == 0) {
            std::string answer = it->substr(prefix.size());
            state.Answers.erase(it);
            return answer;
        }
    }
    return std::nullopt;
}

double Elapsed() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - startTime)
        .count();
}

std::string SnapshotPath() {
    return Env("PAGORA_SNAPSHOT");
}
std::string Then() {
    return Env("PAGORA_THEN");
}
bool SkipOpening() {
    return Env("PAGORA_OPENING") == "skip";
}

}  // namespace pagora::automation
