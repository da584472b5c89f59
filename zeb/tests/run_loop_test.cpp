// RunMain and RunModal driven through the real window, the runtime's event queue and a
// scripted pointer: how each loop ends, who receives events while a dialog runs, and what
// is left behind.
#include "GuiRunFixture.h"

#include <gtest/gtest.h>

namespace {
bool InChildList(const WView* parent, const WView* view)
{
    for (const WView* c = parent->Child; c; c = c->Next)
        if (c == view)
            return true;
    return false;
}

// Posts command `code` when pressed with the left button, the way a standard button
// answers.
ScriptView* AnswerButton(int x, int y, int code)
{
    return new ScriptView(x, y, 80, 20, 0, [code](ScriptView* self, VlxMessage* e) {
        if (e->type == VLX_MOUSE && e->action == VLX_MOUSE_PRESS && e->buttons == 1 &&
            self->MouseIn()) {
            ClearEvent(e);
            VlxMessage answer = {};
            AddCommand(&answer, code);
        }
    });
}
}  // namespace

class RunMainEnd : public GuiRunTest, public ::testing::WithParamInterface<int> {};

TEST_P(RunMainEnd, AnUnconsumedStandardCommandEndsTheLoopAndReleasesEverything)
{
    std::vector<int> seen;
    Start([&] {
        MyDesktop->AddView(new ScriptView(0, 0, 100, 100, 7, [&](ScriptView*, VlxMessage* e) {
                               if (e->type == VLX_COMMAND)
                                   seen.push_back(e->x);
                           }),
                           0);
        QueueCommand(4096);  // no meaning to the framework: the loop goes on
        QueueCommand(GetParam());
    });
    RunMain();
    // The exit command flags the exit at once: the loop ends before routing anything.
    const std::vector<int> expected =
        GetParam() == 5 ? std::vector<int>{} : std::vector<int>{4096, GetParam()};
    EXPECT_EQ(expected, seen);
    EXPECT_EQ((CallLog{"app.Init", "app.DestroyObjs", "app.delete", "gi.delete"}),
              CallLog(log.begin() + 1, log.end()));
    EXPECT_EQ(nullptr, MyDesktop);  // FreeZeb, from the application's destructor
    EXPECT_EQ(nullptr, OutText);
    EXPECT_EQ(nullptr, pUIStyle);
    EXPECT_TRUE(bZebHandle);
}

INSTANTIATE_TEST_SUITE_P(Codes, RunMainEnd, ::testing::Values(1, 2, 3, 4, 5));

TEST_F(GuiRunTest, ACommandAViewConsumesDoesNotEndTheLoop)
{
    int consumed = 0;
    Start([&] {
        MyDesktop->AddView(new ScriptView(0, 0, 100, 100, 0, [&](ScriptView*, VlxMessage* e) {
                               if (e->type == VLX_COMMAND && e->x == 1) {
                                   ClearEvent(e);
                                   ++consumed;
                                   QueueCommand(2);
                               }
                           }),
                           0);
        QueueCommand(1);
    });
    RunMain();
    EXPECT_EQ(1, consumed);
    EXPECT_EQ(nullptr, kvApp);
}

TEST_F(GuiRunTest, OnDemandRedrawDrawsOnlyFramesWithAnEventOrAMove)
{
    size_t mark = 0;
    int firstPoll = 0;
    int lastPoll = 0;  // the input backend is gone once RunMain returns
    Start([&] {
        MyDesktop->AddView(new ScriptView(0, 0, 100, 100, 0,
                                          [&](ScriptView*, VlxMessage* e) {
                                              if (e->type == VLX_COMMAND && e->x == 4096) {
                                                  mark = draw.size();
                                                  firstPoll = input->polls;
                                              }
                                          }),
                           0);
        QueueCommand(4096);
    }, KVWIN_SKINNED | KVWIN_FIXEDSIZE);
    ASSERT_TRUE(bNoRealTime);  // a skinned window redraws on demand
    // Twenty idle polls after the first event, then a move, then the command that ends.
    input->onPoll = [&](int poll) {
        if (firstPoll && poll == firstPoll + 20)
            input->script = {{5, 5, 0}};
        if (firstPoll && poll == firstPoll + 25)
            QueueCommand(1);
        lastPoll = poll;
    };
    RunMain();
    int presents = 0;
    for (size_t i = mark; i < draw.size(); ++i)
        presents += draw[i] == "UpdateScreen";
    // The first event's frame, the move's frame and the last command's frame.
    EXPECT_EQ(3, presents);
    EXPECT_GE(lastPoll, firstPoll + 25);
}

TEST_F(GuiRunTest, ModalDialogAnswersYesAndHandsTheFocusToTheLastChild)
{
    DWORD answer = 0;
    std::vector<int> mainEventsDuringModal;
    bool modalRunning = false;
    WView* side = nullptr;
    ScriptView* main = nullptr;
    WDialog* dialog = nullptr;
    Start([&] {
        main = new ScriptView(0, 0, 800, 600, 1, [&](ScriptView*, VlxMessage* e) {
            if (modalRunning) {
                mainEventsDuringModal.push_back(e->type);
                return;
            }
            if (e->type == VLX_COMMAND && e->x == 4096) {
                ClearEvent(e);
                dialog = new WDialog(0, 0, 300, 200, "Question", 9);
                dialog->AddView(AnswerButton(10, 10, 3), 0);
                modalRunning = true;
                answer = RunModal(dialog, PLACE_CENTRE_X | PLACE_CENTRE_Y, true);
                modalRunning = false;
                EXPECT_FALSE(InChildList(MyDesktop, dialog));
                EXPECT_EQ(0u, dialog->Modal & VIEW_MODAL);
                EXPECT_EQ(0u, MyDesktop->Modal & VIEW_MODAL);
                EXPECT_EQ(side, MyDesktop->Active);
                EXPECT_TRUE(side->State & VS_ACTIVE);
                EXPECT_FALSE(main->State & VS_ACTIVE);
                delete dialog;
                QueueCommand(5);
            }
        });
        side = new WView(0, 0, 10, 10, "", "", 2);
        MyDesktop->AddView(main, 0);
        MyDesktop->AddView(side, PLACE_NO_ACTIVATE);
        QueueCommand(4096);
    });
    // The dialog is centred at (250, 200); its caption bar is 20 high, so the button's
    // screen rectangle is (260, 230)-(340, 250).
    input->script = {{0, 0, 0}, {300, 240, 0}, {300, 240, 1}, {300, 240, 0}};
    RunMain();
    EXPECT_EQ(3u, answer);
    EXPECT_TRUE(mainEventsDuringModal.empty());
}

TEST_F(GuiRunTest, ModalLoopDrawsAnExclusiveViewAlone)
{
    Start([&] {
        auto* main = new ScriptView(0, 0, 800, 600, 1, [&](ScriptView*, VlxMessage* e) {
            if (e->type == VLX_COMMAND && e->x == 4096) {
                ClearEvent(e);
                auto* dialog = new ScriptView(0, 0, 100, 100, 0, nullptr);
                dialog->State |= VS_EXCLUSIVE;
                QueueCommand(1);
                draw.clear();
                EXPECT_EQ(1u, RunModal(dialog, 0, true));
                // Each frame of the loop (and any repaint meanwhile) drew the dialog
                // alone: the desktop never cleared the screen.
                ASSERT_GE(dialog->draws, 1);
                DrawLog frames;
                for (int i = 0; i < dialog->draws; ++i)
                    frames.insert(frames.end(), {"BeginScene", "EndScene", "UpdateScreen"});
                EXPECT_EQ(frames, draw);
                delete dialog;
                QueueCommand(5);
            }
        });
        MyDesktop->AddView(main, 0);
        QueueCommand(4096);
    });
    RunMain();
    EXPECT_EQ(nullptr, kvApp);
}

TEST_F(GuiRunTest, NestedModalLoopsRestoreEachOthersMarking)
{
    std::vector<DWORD> answers;
    Start([&] {
        auto* main = new ScriptView(0, 0, 800, 600, 1, [&](ScriptView*, VlxMessage* e) {
            if (e->type != VLX_COMMAND || e->x != 4096)
                return;
            ClearEvent(e);
            auto* outer = new ScriptView(0, 0, 300, 300, 0, [&](ScriptView*, VlxMessage* o) {
                if (o->type != VLX_COMMAND || o->x != 4097)
                    return;
                ClearEvent(o);
                auto* inner = new WView(0, 0, 100, 100, "", "", 0);
                QueueCommand(4);
                answers.push_back(RunModal(inner, 0, true));
                // Back in the outer dialog: the desktop is still marked for it.
                EXPECT_TRUE(MyDesktop->Modal & VIEW_MODAL);
                delete inner;
                QueueCommand(2);
            });
            QueueCommand(4097);
            answers.push_back(RunModal(outer, 0, true));
            EXPECT_EQ(0u, MyDesktop->Modal & VIEW_MODAL);
            delete outer;
            QueueCommand(5);
        });
        MyDesktop->AddView(main, 0);
        QueueCommand(4096);
    });
    RunMain();
    EXPECT_EQ((std::vector<DWORD>{4, 2}), answers);
}

TEST_F(GuiRunTest, QuitDuringAModalLoopLeavesTheDialogAttachedAndEndsTheProgram)
{
    DWORD answer = 99;
    WView* dialog = nullptr;
    bool attachedAfter = false;
    Start([&] {
        auto* main = new ScriptView(0, 0, 800, 600, 1, [&](ScriptView*, VlxMessage* e) {
            if (e->type == VLX_COMMAND && e->x == 4096) {
                ClearEvent(e);
                dialog = new WView(0, 0, 100, 100, "", "", 0);
                PostQuitMessage(0);
                answer = RunModal(dialog, 0, true);
                attachedAfter = InChildList(MyDesktop, dialog);
                EXPECT_TRUE(dialog->Modal & VIEW_MODAL);
                EXPECT_TRUE(bExit);
            }
        });
        MyDesktop->AddView(main, 0);
        QueueCommand(4096);
    });
    RunMain();
    EXPECT_EQ(5u, answer);
    EXPECT_TRUE(attachedAfter);
    EXPECT_EQ(nullptr, kvApp);  // the dialog went with the desktop
}

TEST_F(GuiRunTest, ClosingTheWindowDuringAModalLoopAnswersCancel)
{
    DWORD answer = 0;
    Start([&] {
        auto* main = new ScriptView(0, 0, 800, 600, 1, [&](ScriptView*, VlxMessage* e) {
            if (e->type == VLX_COMMAND && e->x == 4096) {
                ClearEvent(e);
                auto* dialog = new WView(0, 0, 100, 100, "", "", 0);
                PostMessageA(hWnd, WM_CLOSE, 0, 0);
                answer = RunModal(dialog, 0, true);
                delete dialog;
                QueueCommand(5);
            }
        });
        MyDesktop->AddView(main, 0);
        QueueCommand(4096);
    });
    RunMain();
    EXPECT_EQ(2u, answer);
    EXPECT_TRUE(IsWindow(hWnd));  // the framework handles the close itself
}

TEST_F(GuiRunTest, AnExceptionInAViewEndsTheProgramThroughTheHandler)
{
    Start([&] {
        MyDesktop->AddView(new ScriptView(0, 0, 800, 600, 1,
                                          [](ScriptView*, VlxMessage* e) {
                                              if (e->type == VLX_COMMAND && e->x == 4096)
                                                  NewException("View failed.", 0);
                                          }),
                           0);
        QueueCommand(4096);
    });
    testing::internal::CaptureStderr();
    RunMain();
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, shown.find("View failed."));
    EXPECT_EQ(nullptr, kvApp);
    EXPECT_EQ(nullptr, MyDesktop);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(-1, int(msg.wParam));
}

TEST_F(GuiRunTest, AnExceptionInsideAModalLoopReleasesOnlyOnceTheOuterFrameEnds)
{
    DWORD answer = 0;
    bool desktopAliveAfterModal = false;
    Start([&] {
        auto* main = new ScriptView(0, 0, 800, 600, 1, [&](ScriptView*, VlxMessage* e) {
            if (e->type == VLX_COMMAND && e->x == 4096) {
                ClearEvent(e);
                auto* dialog = new ScriptView(0, 0, 100, 100, 0, [](ScriptView*, VlxMessage* d) {
                    if (d->type == VLX_COMMAND && d->x == 4097)
                        NewException("Dialog failed.", 0);
                });
                QueueCommand(4097);
                testing::internal::CaptureStderr();
                answer = RunModal(dialog, 0, true);
                testing::internal::GetCapturedStderr();
                desktopAliveAfterModal = MyDesktop != nullptr && kvApp != nullptr;
                delete dialog;
            }
        });
        MyDesktop->AddView(main, 0);
        QueueCommand(4096);
    });
    RunMain();
    EXPECT_EQ(5u, answer);
    EXPECT_TRUE(desktopAliveAfterModal);
    EXPECT_EQ(nullptr, kvApp);
}

TEST_F(GuiRunTest, ACommandWhoseSourceWasDestroyedResolvesToNothing)
{
    std::vector<bool> sourceResolved;
    Start([&] {
        auto* picture = new WImageBox(100, 100, 50, 50, nullptr, int(0xFF0000FF), 3);
        WImageBox* alive = picture;
        auto* main = new ScriptView(0, 0, 800, 600, 1, [&, alive](ScriptView*, VlxMessage* e) mutable {
            // The press the picture consumed still reaches this view (idle frames do too,
            // so wait for the button); the picture goes before its click report is read.
            if (e->type == VLX_EMPTY && alive && input->current.buttons == 1) {
                DELETEVIEW(alive);
                alive = nullptr;
            }
            if (e->type == VLX_COMMAND && e->x == VLX_CMD_IMAGE_CLICKED) {
                sourceResolved.push_back(GetEventSource(e) != nullptr);
                QueueCommand(5);
            }
        });
        main->EventMode = 2;
        MyDesktop->AddView(main, 0);
        MyDesktop->AddView(picture, 0);  // active: it sees the press first
    });
    input->script = {{0, 0, 0}, {120, 120, 0}, {120, 120, 1}};
    input->onPoll = [](int polls) {
        if (polls == 200)  // the click never came: end rather than run forever
            QueueCommand(5);
    };
    RunMain();
    EXPECT_EQ((std::vector<bool>{false}), sourceResolved);
}

namespace {
// Calls a test's function after each present.
class HookedGraph : public RecordingGraph {
public:
    using RecordingGraph::RecordingGraph;
    void UpdateScreen() override
    {
        RecordingGraph::UpdateScreen();
        if (onPresent)
            onPresent();
    }
    std::function<void()> onPresent;
};
}  // namespace

TEST_F(GuiRunTest, RepaintsInTheBackgroundDrawTheDesktopThroughThePaintCallback)
{
    HookedGraph hooked(&draw);
    ScriptView* main = nullptr;
    int backgroundFrames = 0;
    Start([&] {
        pbg = &hooked;
        main = new ScriptView(0, 0, 800, 600, 1, [&](ScriptView*, VlxMessage* e) {
            if (e->type == VLX_COMMAND && e->x == 4096) {
                SendMessageA(hWnd, WM_ACTIVATEAPP, FALSE, 0);
                InvalidateRect(hWnd, nullptr, FALSE);
            }
        });
        MyDesktop->AddView(main, 0);
        QueueCommand(4096);
    });
    int mainDraws = 0;  // the view is gone with the desktop once RunMain returns
    hooked.onPresent = [&] {
        if (!kvApp)
            return;
        mainDraws = main->draws;
        if (bActive)
            return;
        // A frame drawn while the loop itself is idle in the background.
        if (++backgroundFrames == 2) {
            SendMessageA(hWnd, WM_ACTIVATEAPP, TRUE, 0);
            QueueCommand(1);
        }
    };
    RunMain();
    EXPECT_EQ(2, backgroundFrames);
    EXPECT_GE(mainDraws, 3);  // the event's frame, then the two repaints
    pbg = nullptr;
}
