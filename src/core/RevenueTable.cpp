#include "RevenueTable.h"

#include "AppHooks.h"
#include "ClientOptions.h"
#include "Database.h"
#include "Globals.h"
#include "UserSession.h"


QString RevenueInfo::field(int position) const
{
    switch (position) {
    case 0: return RevenueID;
    case 1: return ResultTableName;
    case 2: return RequestTableName;
    case 3: return DICOMModality;
    case 4: return SectionName;
    case 5: return StatusSWFinField;
    case 6: return IncludeRevenue;
    case 7: return ExcludeRevenue;
    case 8: return HistoryTableName;
    default: return QString();
    }
}

QString loadRevenueTable(Connection *connection, bool vesk)
{
    gblRevenues.clear();
    gblRevenueMax = -1;
    QString error;
    try {
        if (!connection)
            throw DbError(QStringLiteral("Operation is not allowed when the object is closed."));
        Recordset rs = connection->open(kLoadRevenuesSql);
        for (; !rs.eof() && gblRevenues.size() < 32767; rs.moveNext()) {
            if (rs.field(QStringLiteral("RequestTableName")).isEmpty())
                continue;
            RevenueInfo r;
            r.RevenueID = rs.field(QStringLiteral("RevenueID"));
            r.ResultTableName = rs.field(QStringLiteral("ResultTableName"));
            r.RequestTableName = rs.field(QStringLiteral("RequestTableName"));
            r.DICOMModality = rs.field(QStringLiteral("DICOMModality"));
            r.SectionName = rs.field(QStringLiteral("SectionName"));
            r.StatusSWFinField = rs.field(QStringLiteral("StatusSWFinField"));
            if (r.StatusSWFinField.isEmpty())
                r.StatusSWFinField = QStringLiteral("SWFin");
            r.IncludeRevenue = rs.field(QStringLiteral("IncludeRevenue"));
            r.ExcludeRevenue = rs.field(QStringLiteral("ExcludeRevenue"));
            r.HistoryTableName = rs.field(QStringLiteral("HistoryTableName"));
            gblRevenues.append(r);
        }
        if (vesk && gblRevenues.size() < 32767) {
            RevenueInfo ri;
            ri.RevenueID = QStringLiteral("RI");
            ri.ResultTableName = QStringLiteral("tbMRIResult");
            ri.RequestTableName = QStringLiteral("tbMRIRequest1");
            ri.StatusSWFinField = QStringLiteral("SWFin");
            ri.IncludeRevenue = QStringLiteral("'RI'");
            ri.HistoryTableName = QStringLiteral("tbMRIResultHistory");
            gblRevenues.append(ri);
        }
    } catch (const DbError &e) {
        error = e.description();
        if (error.isEmpty())
            error = QStringLiteral("Unknown error");
    }
    gblRevenueMax = qint16(gblRevenues.size() - 1);
    return error;
}

void LoadRevenues()
{
    Connection *connection = gblUser ? gblUser->SQLConnection() : nullptr;
    const QString error = loadRevenueTable(connection, ClientOptions::instance().vesk());
    if (!error.isEmpty())
        Alert(QStringLiteral("LoadRevenues ") + error);
}

const RevenueInfo *FindRevenue(const QString &code)
{
    for (int i = 0; i <= gblRevenueMax && i < gblRevenues.size(); ++i) {
        if (gblRevenues[i].RevenueID.toUpper() == code)
            return &gblRevenues[i];
    }
    return nullptr;
}
