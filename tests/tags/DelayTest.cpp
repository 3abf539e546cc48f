#include "UnitUtilities.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QCoreApplication>
#include <gtest/gtest.h>

#include <ctime>

namespace {

qint64 processorTimeMs()
{
    timespec now {};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<qint64>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

void postFlag(bool& flag)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), [&flag] { flag = true; }, Qt::QueuedConnection);
}

}  // namespace

TEST(DelayTest, ZeroReturnsAtOnceWithoutProcessingEvents)
{
    bool processed = false;
    postFlag(processed);
    Delay(0);
    EXPECT_FALSE(processed);
    QCoreApplication::processEvents();
    EXPECT_TRUE(processed);
}

TEST(DelayTest, WaitsAtLeastTheTimeAndProcessesEvents)
{
    bool processed = false;
    postFlag(processed);
    QElapsedTimer timer;
    timer.start();
    Delay(60);
    EXPECT_GE(timer.elapsed(), 60);
    EXPECT_TRUE(processed);
}

TEST(DelayTest, EventsPostedDuringTheWaitAreProcessed)
{
    bool late = false;
    QMetaObject::invokeMethod(QCoreApplication::instance(), [&late] { postFlag(late); }, Qt::QueuedConnection);
    Delay(30);
    EXPECT_TRUE(late);
}

TEST(DelayTest, DoesNotKeepAProcessorBusy)
{
    const qint64 before = processorTimeMs();
    Delay(300);
    EXPECT_LT(processorTimeMs() - before, 60);
}

TEST(DelayTest, ScaleShortensTheWaitButStillProcessesEvents)
{
    bool processed = false;
    postFlag(processed);
    // A hundredth of a wait far longer than a busy machine can add to the shortened one.
    setDelayScale(0.01);
    QElapsedTimer timer;
    timer.start();
    Delay(10000);
    const qint64 elapsed = timer.elapsed();
    setDelayScale(1.0);
    EXPECT_GE(elapsed, 100);
    EXPECT_LT(elapsed, 5000);
    EXPECT_TRUE(processed);

    processed = false;
    postFlag(processed);
    setDelayScale(0.0);
    Delay(50);
    setDelayScale(1.0);
    EXPECT_TRUE(processed);
}
