#include "core/MyTime.h"

#include <QDateTime>

namespace {

const QDateTime DateTimeEpoch(QDate(1899, 12, 30), QTime(0, 0));

} // namespace

double Now()
{
    const QDateTime now = QDateTime::currentDateTime();
    return static_cast<double>(DateTimeEpoch.msecsTo(now)) / 86400000.0;
}

std::string GetLongDateTimeText(const std::string& separator, double value)
{
    const QDateTime moment = DateTimeEpoch.addMSecs(static_cast<qint64>(value * 86400000.0));
    return moment.toString("yyyy-MM-dd").toStdString() + separator + moment.toString("HH:mm:ss").toStdString();
}
