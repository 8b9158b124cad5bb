#pragma once
// The demo RIS: plays the radiology information system for the demo hospital. It takes each
// order file from the request directory as a RIS would, answers with a completion message in
// the completed directory and, a few seconds later, a radiology result message in the result
// directory.

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace hospitaldb {

struct DemoRisReply {
    QString name;          // file name of both replies, without directory
    QByteArray completion; // Latin-1 HL7, segments ended by CR
    QByteArray result;
    bool cancelled = false; // a cancel order: nothing is performed, no replies
};

// The replies to one order message (ORM^O01 text as the order file holds it). serial varies
// the radiographer, resident and radiologist. Throws SqlError for a text that is no order.
DemoRisReply demoRisReplies(const QByteArray &order, const QDateTime &now, int serial);

// Runs the loop until interrupted (once: one pass and the pending results, then return).
int runDemoRis(const QString &requestDir, const QString &completedDir, const QString &resultDir,
               int resultDelaySeconds, bool once);

} // namespace hospitaldb
