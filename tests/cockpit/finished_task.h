#pragma once
#include "cockpit/cockpit_task.h"

#include <gtest/gtest.h>

namespace vantrel::test {

// The result of a handler that ran to its end at once (a virtual clock and no link thread, or
// a link thread that the caller waits for).
template <class T> T Finished(Task<T> task) {
    EXPECT_TRUE(task.Done()) << "the handler is still paused";
    return task.await_resume();
}

} // namespace vantrel::test
