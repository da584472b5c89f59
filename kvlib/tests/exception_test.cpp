// Engine exceptions: raised by pointer, traced, bounded, handled once.
#include "MemoryStream.h"
#include "ThrownMessage.h"

#include <kvException.h>
#include <kvTrace.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Exception, NewExceptionTracesAndNeverReturns)
{
    auto* log = new MemoryStream("", false, false, false);
    SetDebugOutput(log, false);
    log->medium.clear();
    log->position = 0;
    bool after = false;
    DWORD type = 7;
    std::string message = ThrownMessage(
        [&] {
            NewException("Dialog not found in resource file.", 0);
            after = true;
        },
        &type);
    EXPECT_FALSE(after);
    EXPECT_EQ("Dialog not found in resource file.", message);
    EXPECT_EQ(0u, type);
    EXPECT_EQ("New exception thrown. type = 0, arg = Dialog not found in resource file.\n",
              std::string(log->medium.begin(), log->medium.end()));
    SetDebugOutput(nullptr, false);
}

TEST(Exception, MessagesAreCutTo511Characters)
{
    std::string longText(600, 'm');
    kvException e(longText.c_str(), 1);
    EXPECT_EQ(std::string(511, 'm'), e.message);
    e.ChangeErrorMsg("short");
    EXPECT_STREQ("short", e.message);
    EXPECT_EQ("Failed to load image : a.png.",
              ThrownMessage([] { NewExceptionf(0, "Failed to load image : %s.", "a.png"); }));
}

TEST(Exception, CatchExceptionTracesTheMessageAndDeletesIt)
{
    auto* log = new MemoryStream("", false, false, false);
    SetDebugOutput(log, false);
    log->medium.clear();
    log->position = 0;
    testing::internal::CaptureStderr();
    CatchException(new kvException("Missing application object.", 0));
    testing::internal::GetCapturedStderr();
    // The release runs first (nothing to release here, so only its trace lines).
    EXPECT_EQ("App object deleted.\nGraphic system released.\nInput system released.\n"
              " \n***** Exception caught!!! *****\nMissing application object.\n \n",
              std::string(log->medium.begin(), log->medium.end()));
    CatchException(nullptr);  // nothing to handle
    SetDebugOutput(nullptr, false);
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_QUIT), quit.message);
}

}  // namespace
