#include "platform/fake/fake_core.h"
void FakeVideoReset() {}
