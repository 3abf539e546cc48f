#include "UnitUtilities.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <cmath>

namespace {
double delayScale = 1.0;
}

void setDelayScale(double factor)
{
    delayScale = factor;
}

void Delay(quint32 milliseconds)
{
    if (milliseconds == 0)
        return;
    const auto scaled = static_cast<qint64>(std::llround(milliseconds * delayScale));
    const QDeadlineTimer deadline(scaled, Qt::PreciseTimer);
    if (!QCoreApplication::instance()) {
        QThread::msleep(static_cast<unsigned long>(deadline.remainingTime()));
        return;
    }
    // The loop sleeps until an event or the timer wakes it; a handler that quits every loop of
    // the thread does not cut the wait short.
    do {
        QEventLoop loop;
        QTimer::singleShot(deadline.remainingTime(), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    } while (!deadline.hasExpired());
}
