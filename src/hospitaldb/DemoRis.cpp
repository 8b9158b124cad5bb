#include "DemoRis.h"
#include "Hospital.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>
#include <QTextStream>
#include <QThread>

namespace hospitaldb {

namespace {

// Fields of one segment by HL7 number: for MSH, field n is at n-1 after the split.
QString field(const QStringList &segments, const QString &id, int n)
{
    for (const QString &s : segments) {
        if (!s.startsWith(id + u'|'))
            continue;
        const QStringList f = s.split(u'|');
        const int at = id == u"MSH" ? n - 1 : n;
        return at < f.size() ? f[at] : QString();
    }
    return QString();
}

QString segment(const QString &id, const QList<QPair<int, QString>> &fields)
{
    int last = 0;
    for (const auto &f : fields)
        last = qMax(last, f.first);
    QStringList parts(last + 1);
    parts[0] = id;
    for (const auto &f : fields)
        parts[f.first] = f.second;
    return parts.join(u'|') + u'\r';
}

const char *const kRadiographers[] = {"DELA CRUZ, JUAN B.", "O'BRIEN, KATHLEEN M.", "NUÑEZ, RENÉ S."};
const char *const kResidents[] = {"VILLANUEVA, MARK A.", "CASTILLO, ANNA L."};
const char *const kRadiologists[][2] = {{"1001", "SANTIAGO, ROBERTO L., MD"}, {"1002", "PEÑA, JOSÉ R., MD"},
                                        {"1003", "O'CONNOR, MARGARET A., MD"}};

void writeAtomically(const QString &path, const QByteArray &bytes)
{
    const QString temp = path + QStringLiteral(".part");
    QFile f(temp);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.flush())
        throw SqlError(QStringLiteral("cannot write ") + temp);
    f.close();
    QFile::remove(path);
    if (!QFile::rename(temp, path))
        throw SqlError(QStringLiteral("cannot rename ") + temp);
}

} // namespace

DemoRisReply demoRisReplies(const QByteArray &order, const QDateTime &now, int serial)
{
    QString text = QString::fromLatin1(order);
    text.remove(QChar(10)).remove(QChar(11)).remove(QChar(28));
    const QStringList segments = text.split(u'\r', Qt::SkipEmptyParts);
    if (field(segments, QStringLiteral("MSH"), 9).left(3) != u"ORM")
        throw SqlError(QStringLiteral("not an order message"));

    DemoRisReply r;
    const QString placer = field(segments, QStringLiteral("ORC"), 2);
    r.cancelled = field(segments, QStringLiteral("ORC"), 1) == u"CA";
    const QString hospNum = field(segments, QStringLiteral("PID"), 3);
    const QString patName = field(segments, QStringLiteral("PID"), 5);
    const QString visit = field(segments, QStringLiteral("PV1"), 19);
    const QString patientClass = field(segments, QStringLiteral("PV1"), 2);
    const QString doctor = field(segments, QStringLiteral("PV1"), 7);
    const QString service = field(segments, QStringLiteral("OBR"), 4);
    const QString modality = field(segments, QStringLiteral("OBR"), 24);
    const QString ordered = field(segments, QStringLiteral("ORC"), 9);
    r.name = QStringLiteral("RIS") + placer + QStringLiteral(".hl7");

    const QString stamp = now.toString(QStringLiteral("yyyyMMddHHmmss"));
    const QString performed = now.addSecs(-600).toString(QStringLiteral("yyyyMMddHHmmss"));
    const QString msh = QStringLiteral("MSH|^~\\&|RIS|RADIOLOGY|RELAYON|HOSPITAL|");
    const QString pid = segment(QStringLiteral("PID"), {{1, QStringLiteral("1")}, {3, hospNum}, {5, patName}});
    const QString pv1 = segment(QStringLiteral("PV1"), {{2, patientClass}, {7, doctor}, {19, visit}});

    QString completion = msh + stamp + QStringLiteral("||ORM^O01|C") + stamp + placer + QStringLiteral("|P|2.3\r") + pid + pv1
                         + segment(QStringLiteral("ORC"), {{1, QStringLiteral("SC")}, {2, placer}, {5, QStringLiteral("CM")}})
                         + segment(QStringLiteral("OBR"), {{1, QStringLiteral("1")}, {2, placer}, {4, service},
                                                           {22, performed}, {24, modality}});
    r.completion = completion.toLatin1();

    const auto radiologist = kRadiologists[serial % 3];
    const QStringList report{QStringLiteral("EXAMINATION: ") + service.section(u'^', 1),
                             QStringLiteral("FINDINGS: No acute abnormality is seen."),
                             QStringLiteral("The structures examined are within normal limits for age."),
                             QStringLiteral("IMPRESSION: Normal study."),
                             QStringLiteral("Radiographer  : ") + QString::fromUtf8(kRadiographers[serial % 3]),
                             QStringLiteral("Resident  : ") + QString::fromUtf8(kResidents[serial % 2]),
                             QStringLiteral("Radiologist  : ") + QString::fromUtf8(radiologist[1])};
    QString result = msh + stamp + QStringLiteral("||ORU^R01|R") + stamp + placer + QStringLiteral("|P|2.3\r") + pid + pv1
                     + segment(QStringLiteral("ORC"), {{1, QStringLiteral("RE")}, {2, placer}, {9, ordered}})
                     + segment(QStringLiteral("OBR"), {{1, QStringLiteral("1")}, {2, placer}, {4, service}, {7, performed},
                                                       {22, stamp}, {24, modality}, {25, QStringLiteral("F")},
                                                       {32, QStringLiteral("^^") + QLatin1String(radiologist[0])}});
    for (int i = 0; i < report.size(); ++i)
        result += segment(QStringLiteral("OBX"), {{1, QString::number(i + 1)}, {2, QStringLiteral("TX")},
                                                  {3, QStringLiteral("REPORT")}, {5, report[i]}, {11, QStringLiteral("F")},
                                                  {16, QLatin1String(radiologist[0])}});
    r.result = result.toLatin1();
    return r;
}

int runDemoRis(const QString &requestDir, const QString &completedDir, const QString &resultDir,
               int resultDelaySeconds, bool once)
{
    QTextStream out(stdout);
    for (const QString &d : {requestDir, completedDir, resultDir})
        QDir().mkpath(d);
    const QString taken = QDir(requestDir).filePath(QStringLiteral("taken-by-ris"));
    QDir().mkpath(taken);
    struct Pending {
        qint64 due;
        QString path;
        QByteArray bytes;
    };
    QList<Pending> pending;
    int serial = 0;
    out << "demo RIS: orders from " << requestDir << ", completions to " << completedDir << ", results to "
        << resultDir << Qt::endl;
    for (;;) {
        const QDir dir(requestDir);
        for (const QString &name : dir.entryList({QStringLiteral("*.hl7")}, QDir::Files, QDir::Name)) {
            const QString path = dir.filePath(name);
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QByteArray order = f.readAll();
            f.close();
            QFile::remove(QDir(taken).filePath(name));
            QFile::rename(path, QDir(taken).filePath(name));
            try {
                const DemoRisReply r = demoRisReplies(order, QDateTime::currentDateTime(), serial++);
                if (r.cancelled) {
                    out << "demo RIS: cancelled " << name << Qt::endl;
                    continue;
                }
                writeAtomically(QDir(completedDir).filePath(r.name), r.completion);
                pending.append({QDateTime::currentMSecsSinceEpoch() + resultDelaySeconds * 1000,
                                QDir(resultDir).filePath(r.name), r.result});
                out << "demo RIS: performed " << name << Qt::endl;
            } catch (const SqlError &e) {
                out << "demo RIS: skipped " << name << ": " << e.description() << Qt::endl;
            }
        }
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        for (qsizetype i = 0; i < pending.size();) {
            if (pending[i].due <= now || once) {
                writeAtomically(pending[i].path, pending[i].bytes);
                out << "demo RIS: reported " << QFileInfo(pending[i].path).fileName() << Qt::endl;
                pending.removeAt(i);
            } else {
                ++i;
            }
        }
        if (once)
            return 0;
        QThread::msleep(500);
    }
}

} // namespace hospitaldb
