// The fake backend's shared test controls: a record of the platform calls made,
// and failure of any named call on request.
#pragma once

#include <memory>
#include <string>
#include <vector>

// Records the call and tells whether a failure was asked for it; when it was,
// *failResult holds the result the call must give.
bool FakeCall(const char* name, int* failResult);
// Records the call alone (calls that cannot fail).
void FakeNote(const char* name);

// A creation call `name`: a new object kept in `objects` goes to *made, with
// the call's result. Only a failure asked for with a negative result gives
// none; a forced non-negative one still hands the object out.
template <typename Tag>
int FakeCreate(const char* name, std::vector<std::unique_ptr<Tag>>& objects, Tag** made)
{
    int result = 0;
    *made = nullptr;
    if (FakeCall(name, &result) && result < 0) {
        return result;
    }
    objects.push_back(std::make_unique<Tag>());
    *made = objects.back().get();
    return result;
}

// The call `name` gives `result` after `skip` more successful calls, for
// `times` calls (-1: for ever).
void FakeFailCall(const std::string& name, int result, int skip = 0, int times = -1);
void FakeClearFailures();

const std::vector<std::string>& FakeCallLog();
void FakeClearCallLog();
// How many times `name` appears in the call log.
int FakeCallCount(const std::string& name);

// Every device family of the fake backend, back to its state at program start.
void FakeResetAll();

// Each family resets its own state; FakeResetAll calls them all.
void FakeSystemReset();
void FakeFileReset();
void FakeVideoReset();
void FakeInputReset();
void FakeAudioReset();
void FakeMusicReset();
