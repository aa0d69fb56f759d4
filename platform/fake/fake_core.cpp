#include "platform/fake/fake_core.h"

#include <algorithm>

namespace {

struct Failure {
    std::string name;
    int result;
    int skip;
    int times;
};

std::vector<std::string> s_log;
std::vector<Failure> s_failures;

} // namespace

void FakeNote(const char* name)
{
    s_log.emplace_back(name);
}

bool FakeCall(const char* name, int* failResult)
{
    FakeNote(name);
    for (Failure& failure : s_failures) {
        if (failure.name != name || failure.times == 0) {
            continue;
        }
        if (failure.skip > 0) {
            --failure.skip;
            return false;
        }
        if (failure.times > 0) {
            --failure.times;
        }
        if (failResult != nullptr) {
            *failResult = failure.result;
        }
        return true;
    }
    return false;
}

void FakeFailCall(const std::string& name, int result, int skip, int times)
{
    s_failures.push_back({name, result, skip, times});
}

void FakeClearFailures()
{
    s_failures.clear();
}

const std::vector<std::string>& FakeCallLog()
{
    return s_log;
}

void FakeClearCallLog()
{
    // Gives the memory back too, so that long runs can compare heap use.
    std::vector<std::string>().swap(s_log);
}

int FakeCallCount(const std::string& name)
{
    return static_cast<int>(std::count(s_log.begin(), s_log.end(), name));
}

void FakeResetAll()
{
    FakeClearCallLog();
    FakeClearFailures();
    FakeSystemReset();
    FakeFileReset();
    FakeVideoReset();
    FakeInputReset();
    FakeAudioReset();
    FakeMusicReset();
}
