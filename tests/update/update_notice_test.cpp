// PostUpdateNotice on its own: what it posts, what it withholds and when it says stop.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "notice_recorder.h"
#include "support/message_pump.h"
#include "update/update_notice.h"

namespace {

const DWORD kWaitMs = 10000;

class PostUpdateNoticeTest : public testing::Test {
protected:
    CHttpCallBack Record(int32_t status, int32_t bytes)
    {
        CHttpCallBack record;
        record.m_hWndNotify = m_recorder.Window();
        record.m_nGeneration = g_nWorkerGeneration;
        record.m_nStatus = status;
        record.m_strUrl = "http://h/f";
        record.m_nBytes = bytes;
        return record;
    }
    int32_t Post(int32_t status, int32_t bytes)
    {
        CHttpCallBack record = Record(status, bytes);
        return PostUpdateNotice(&record);
    }
    void PumpAll() { ASSERT_TRUE(PumpUntil([] { return PendingUpdateNotices() == 0; }, kWaitMs)); }

    CNoticeRecorder m_recorder;
};

TEST_F(PostUpdateNoticeTest, CopyOwnsItsUrlAndOutlivesTheRecord)
{
    {
        CHttpCallBack record = Record(HTTPCB_STARTED, 0);
        EXPECT_EQ(PostUpdateNotice(&record), 1);
        record.m_strUrl.assign(100, 'x');
    }
    PumpAll();
    ASSERT_EQ(m_recorder.Notices().size(), 1u);
    EXPECT_EQ(m_recorder.Notices()[0].url, "http://h/f");
}

TEST_F(PostUpdateNoticeTest, ProgressIsPostedAgainOnceTheLastOneIsHandled)
{
    EXPECT_EQ(Post(HTTPCB_PROGRESS, 1024), 1);
    PumpAll();
    EXPECT_EQ(Post(HTTPCB_PROGRESS, 2048), 1);
    PumpAll();
    ASSERT_EQ(m_recorder.Notices().size(), 2u);
    EXPECT_EQ(m_recorder.Notices()[1].bytes, 2048);
}

TEST_F(PostUpdateNoticeTest, WithheldProgressIsPostedBeforeTheNextStatus)
{
    // The window handles nothing in between, so later progress may be withheld; however
    // many are, the last 11 before 12 carries the final total.
    for (int32_t bytes = 1024; bytes <= 8 * 1024; bytes += 1024)
        EXPECT_EQ(Post(HTTPCB_PROGRESS, bytes), 1);
    EXPECT_EQ(Post(HTTPCB_FILE_DONE, 8 * 1024), 1);
    PumpAll();

    const std::vector<RecordedNotice>& notices = m_recorder.Notices();
    ASSERT_GE(notices.size(), 3u);
    EXPECT_LE(notices.size(), 9u);
    EXPECT_EQ(notices[0].bytes, 1024);
    EXPECT_EQ(notices[notices.size() - 2].status, HTTPCB_PROGRESS);
    EXPECT_EQ(notices[notices.size() - 2].bytes, 8 * 1024);
    EXPECT_EQ(notices.back().status, HTTPCB_FILE_DONE);
}

TEST_F(PostUpdateNoticeTest, StaleGenerationPostsNothingAndSaysStop)
{
    CHttpCallBack record = Record(HTTPCB_STARTED, 0);
    record.m_nGeneration = g_nWorkerGeneration - 1;
    EXPECT_EQ(PostUpdateNotice(&record), 0);
    EXPECT_EQ(PendingUpdateNotices(), 0);
}

TEST_F(PostUpdateNoticeTest, VanishedWindowSaysStopAndKeepsNoCopy)
{
    EXPECT_EQ(Post(HTTPCB_PROGRESS, 1024), 1);
    CHttpCallBack progress = Record(HTTPCB_PROGRESS, 2048);
    CHttpCallBack done = Record(HTTPCB_FILE_DONE, 2048);
    const int32_t pendingBefore = PendingUpdateNotices();
    m_recorder.Destroy();
    // A progress notice may be withheld for a while; the next one that is posted, and
    // every other status, says stop.
    PostUpdateNotice(&progress);
    EXPECT_EQ(PostUpdateNotice(&done), 0);
    EXPECT_EQ(PendingUpdateNotices(), pendingBefore);
    // No window at all is no window either: nothing may land in the thread's own queue.
    done.m_hWndNotify = nullptr;
    EXPECT_EQ(PostUpdateNotice(&done), 0);
    EXPECT_EQ(PendingUpdateNotices(), pendingBefore);
}

}  // namespace
