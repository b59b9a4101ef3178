// The update dialog's handling of its worker's notices: the progress bar, the endings,
// and every record deleted. The dialog's own worker is made stale at once and talks to a
// stalled server, so only the records a test posts reach the handler.
#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "framework/win_app.h"
#include "support/loopback_server.h"
#include "support/message_box_answerer.h"
#include "support/modal_body.h"
#include "support/update_texts_expected.h"
#include "update/update_dlg.h"
#include "update/update_notice.h"

namespace {

const INT_PTR kStillOpen = 999;

int g_nRecordsAlive = 0;

// A notice record that counts the copies not yet deleted.
class CountedRecord : public CHttpCallBack {
public:
    CountedRecord(int32_t status, int32_t bytes)
    {
        m_nStatus = status;
        m_nBytes = bytes;
        ++g_nRecordsAlive;
    }
    ~CountedRecord() override { --g_nRecordsAlive; }
};

// The dialog's own worker is made stale as soon as it starts, so only the test's records
// reach the handler.
class TestUpdateDlg : public TModalBody<CUpdateDlg> {
public:
    int rangeLow = -1, rangeHigh = -1, position = -1;

    void Post(int32_t status, int32_t bytes)
    {
        PostMessageA(m_hWnd, WM_UPDATE_NOTIFY, 0, reinterpret_cast<LPARAM>(new CountedRecord(status, bytes)));
    }

    // Posted after the records: notes the bar and, when the dialog is still open, ends it.
    void PostCheck() { PostMessageA(m_hWnd, WM_APP + 2, 0, 0); }

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = TModalBody<CUpdateDlg>::OnInitDialog();
        g_nWorkerGeneration.fetch_add(1);
        return result;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP + 2) {
            m_progress.GetRange(rangeLow, rangeHigh);
            position = m_progress.GetPos();
            if (IsWindowVisible(m_hWnd))
                EndDialog(static_cast<int>(kStillOpen));
            return 0;
        }
        return TModalBody<CUpdateDlg>::WindowProc(message, wParam, lParam);
    }
};

class UpdateDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_strUpdateUrl = m_server.Url("");
        g_nRecordsAlive = 0;
    }

    // Runs the dialog modally with `body` inside its loop; returns how it ended.
    INT_PTR Run(TestUpdateDlg& dlg, std::function<void(TestUpdateDlg&)> body)
    {
        dlg.quitAfterBody = false;  // the test's own records end the dialog
        dlg.body = [&] { body(dlg); };
        return dlg.DoModal();
    }

    CTestApp m_app;
    // Accepts and then says nothing for longer than any test takes.
    CLoopbackServer m_server{[](const std::string&) { return LoopbackReply("", 60000); }};
};

struct NoticeCase {
    int32_t status;
    int32_t bytes;
    INT_PTR ending;   // IDOK, IDCANCEL or kStillOpen
    int rangeHigh;    // -1: the default range stays
    int position;     // -1: not looked at
    bool messageBox;  // the save failure is shown
};

void PrintTo(const NoticeCase& c, std::ostream* os) { *os << "status " << c.status << " bytes " << c.bytes; }

class UpdateDialogNotices : public UpdateDialogTest, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(UpdateDialogNotices, HandleEachStatusAsTheTableSays)
{
    const NoticeCase& c = GetParam();
    CMessageBoxAnswerer answerer(m_app.m_strAppName);
    TestUpdateDlg dlg;
    const INT_PTR ending = Run(dlg, [&](TestUpdateDlg& d) {
        d.Post(c.status, c.bytes);
        d.PostCheck();
    });

    EXPECT_EQ(ending, c.ending);
    if (c.rangeHigh >= 0) {
        EXPECT_EQ(dlg.rangeLow, 0);
        EXPECT_EQ(dlg.rangeHigh, c.rangeHigh);
    }
    if (c.position >= 0) {
        EXPECT_EQ(dlg.position, c.position);
    }
    if (c.messageBox) {
        EXPECT_EQ(answerer.Texts(), std::vector<std::string>{kExpectedSaveFailedText});
    } else {
        EXPECT_TRUE(answerer.Texts().empty());
    }
    EXPECT_EQ(g_nRecordsAlive, 0) << "every record is deleted, whatever its status";
}

const int32_t kMiB = 1024 * 1024;

INSTANTIATE_TEST_SUITE_P(
    Statuses, UpdateDialogNotices,
    ::testing::Values(
        NoticeCase{7, 2047, kStillOpen, 1, -1, false},
        NoticeCase{7, 65 * kMiB, kStillOpen, 66560, -1, false},  // no 16-bit wrap
        NoticeCase{11, 1023, kStillOpen, -1, 0, false},
        NoticeCase{11, 50 * 1024 + 1023, kStillOpen, -1, 50, false},
        NoticeCase{6, 100, kStillOpen, 100, 0, false},
        NoticeCase{10, 0, kStillOpen, 100, 0, false},
        NoticeCase{12, 0, kStillOpen, 100, 0, false},
        NoticeCase{13, 0, IDOK, -1, -1, false},
        NoticeCase{2, 0, IDCANCEL, -1, -1, true},
        NoticeCase{1, 0, IDCANCEL, -1, -1, false},
        NoticeCase{3, 0, IDCANCEL, -1, -1, false},
        NoticeCase{4, 0, IDCANCEL, -1, -1, false},
        NoticeCase{5, 0, IDCANCEL, -1, -1, false},
        NoticeCase{8, 0, IDCANCEL, -1, -1, false},
        NoticeCase{9, 0, IDCANCEL, -1, -1, false},
        NoticeCase{0, 0, IDCANCEL, -1, -1, false},
        NoticeCase{-1, 0, IDCANCEL, -1, -1, false},
        NoticeCase{14, 0, IDCANCEL, -1, -1, false}));

TEST_F(UpdateDialogTest, ProgressFollowsALengthAndItsProgress)
{
    TestUpdateDlg dlg;
    Run(dlg, [](TestUpdateDlg& d) {
        d.Post(6, 0);
        d.Post(7, 3 * 1024 * 1024);
        d.Post(11, 1024 * 1024);
        d.Post(11, 2 * 1024 * 1024 + 512);
        d.PostCheck();
    });
    EXPECT_EQ(dlg.rangeHigh, 3072);
    EXPECT_EQ(dlg.position, 2048);
    EXPECT_EQ(g_nRecordsAlive, 0);
}

TEST_F(UpdateDialogTest, OkFromTheKeyboardDoesNotEndItBeforeTheFilesAreIn)
{
    TestUpdateDlg dlg;
    const INT_PTR ending = Run(dlg, [](TestUpdateDlg& d) {
        SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        PostMessageA(d.m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageA(d.m_hWnd, WM_KEYUP, VK_RETURN, 0);
        d.PostCheck();
    });
    EXPECT_EQ(ending, kStillOpen);
}

TEST_F(UpdateDialogTest, ClosingItCancels)
{
    TestUpdateDlg dlg;
    const INT_PTR ending = Run(dlg, [](TestUpdateDlg& d) { PostMessageA(d.m_hWnd, WM_CLOSE, 0, 0); });
    EXPECT_EQ(ending, IDCANCEL);
}

}  // namespace
