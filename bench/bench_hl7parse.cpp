// The segment walk of the result intake (IsSegment and getSegment for every line of a message)
// over a generated corpus of radiology result messages, in MB/s and messages/s, next to
// Debian's python3-hl7 (hl7.parse) over the same corpus, run with the system python3.
//
//   build/bin/bench_hl7parse [messages] [rounds]    (default 10000 messages, 5 rounds)
//
// The corpus is written to a temporary file: Latin-1, segments ended by CR, one message per
// line. The C++ figure is the best of the rounds; the serology question of the OBX parser is
// answered without a database (report lines hold no "^", so it is rarely asked).

#include "MessageDef.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

const QStringList kFindings = {
    "The lungs are clear without focal consolidation, effusion or pneumothorax.",
    "The cardiomediastinal silhouette is within normal limits for size and contour.",
    "No acute osseous abnormality is identified. Degenerative changes of the thoracic spine.",
    "There is a 6 mm non-calcified nodule in the right upper lobe, recommend follow-up CT in 6 months.",
    "The liver is normal in size and echotexture. No focal hepatic lesion.",
    "The gallbladder is distended with multiple mobile echogenic foci consistent with cholelithiasis.",
    "The common bile duct measures 4 mm. No intrahepatic biliary ductal dilatation.",
    "Both kidneys are normal in size with preserved corticomedullary differentiation.",
    "No hydronephrosis. No renal calculi. The urinary bladder is unremarkable.",
    "Mild bibasilar atelectasis. Costophrenic angles are sharp.",
    "Endotracheal tube tip 4 cm above the carina. Nasogastric tube courses below the diaphragm.",
    "Soft tissues are unremarkable. No radiopaque foreign body.",
    "There is a minimally displaced fracture of the distal radius with dorsal angulation of 10 degrees.",
    "Alignment is anatomic. Joint spaces are preserved. No joint effusion.",
    "Post-operative changes of the left hemithorax with sternotomy wires intact.",
    "Prominent bowel loops without air-fluid levels; non-specific bowel gas pattern.",
};
const QStringList kImpressions = {
    "No acute cardiopulmonary process.",
    "Cholelithiasis without sonographic evidence of acute cholecystitis.",
    "Distal radius fracture as described.",
    "Right upper lobe nodule; follow-up as above.",
    "Normal study.",
};
const QStringList kExams = {"XR001^CHEST PA AND LATERAL", "US014^ULTRASOUND WHOLE ABDOMEN", "XR120^WRIST AP/LAT LEFT",
                            "CT031^CT CHEST WITH CONTRAST", "XR044^ABDOMEN SUPINE"};
const QStringList kNames = {"DELA CRUZ^JUAN^M", "SANTOS^MARIA^L", "O`BRIEN^SEAN^P", "REYES^ANA^B", "GARCIA^JOSE^R",
                            "MULLER^J\u00dcRGEN^", "TAN^MEI^LING", "NAKAMURA^KENJI^"};
const QStringList kStaff = {"RAD001^VILLANUEVA^CARLOS", "RAD002^LIM^GRACE", "RAD003^AQUINO^PAOLO"};

// One ORU^R01-like radiology result: MSH, PID, PV1, ORC, OBR and the report as OBX lines.
QString resultMessage(QRandomGenerator &rng, int n)
{
    const QDateTime when = QDateTime(QDate(2024, 1, 5), QTime(8, 0)).addSecs(n * 37);
    const QString ts = when.toString("yyyyMMddHHmmss");
    const QString request = "R" + QString::number(240000 + n);
    const QString exam = kExams[rng.bounded(kExams.size())];
    const QString radiologist = kStaff[rng.bounded(kStaff.size())];
    QStringList s;
    s << "MSH|^~\\&|RIS|RADIOLOGY|KALDRA|HOSPITAL|" + ts + "||ORU^R01|" + QString::number(900000 + n) + "|P|2.3";
    s << "PID|1||" + QString::number(1000000 + rng.bounded(900000)) + "^^^HOSP^MR||" + kNames[rng.bounded(kNames.size())]
             + "||19" + QString::number(40 + rng.bounded(60)) + "0" + QString::number(1 + rng.bounded(9)) + "15|"
             + (rng.bounded(2) ? "M" : "F") + "|||123 RIZAL AVE^^MANILA^^1000||(02)555-0101";
    s << "PV1|1|" + QString(rng.bounded(2) ? "I" : "O") + "|WARD3^30" + QString::number(rng.bounded(10))
             + "^A||||D0" + QString::number(10 + rng.bounded(80)) + "^HOUSE^GREGORY||C020^WILSON^JAMES||||||||||V"
             + QString::number(5000000 + n);
    s << "ORC|RE|" + request + "|" + request + "||CM||||" + ts + "|N01^NURSE^ANNA";
    s << "OBR|1|" + request + "|" + request + "|" + exam + "|||" + ts + "|||||||||RES01^RESIDENT^ROSA||||||" + ts
             + "||RAD|F||||||||" + radiologist;
    int set = 0;
    const auto obx = [&](const QString &text) {
        s << "OBX|" + QString::number(++set) + "|TX|" + exam.section('^', 0, 0) + "^REPORT||" + text + "||||||F";
    };
    obx("EXAMINATION: " + exam.section('^', 1));
    obx("CLINICAL DATA: Cough and fever for 3 days, rule out pneumonia.");
    obx("FINDINGS:");
    const int findings = 6 + rng.bounded(14);
    for (int i = 0; i < findings; ++i)
        obx(kFindings[rng.bounded(kFindings.size())]);
    obx("IMPRESSION:");
    obx(kImpressions[rng.bounded(kImpressions.size())]);
    obx("Radiographer  : RT " + QString::number(rng.bounded(40)) + " SANTIAGO, MARK");
    obx("Resident  : ROSA RESIDENT, MD");
    obx("Radiologist  :" + radiologist.section('^', 2) + " " + radiologist.section('^', 1) + ", MD, FPCR");
    return s.join(QChar(kCR)) + QChar(kCR);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int messages = argc > 1 ? QString(argv[1]).toInt() : 10000;
    const int rounds = argc > 2 ? QString(argv[2]).toInt() : 5;
    if (messages <= 0 || rounds <= 0) {
        out << "usage: bench_hl7parse [messages] [rounds]\n";
        return 2;
    }

    QRandomGenerator rng(20240105);
    QStringList corpus;
    corpus.reserve(messages);
    qint64 bytes = 0;
    for (int n = 0; n < messages; ++n) {
        corpus << resultMessage(rng, n);
        bytes += corpus.last().size();
    }
    QTemporaryDir tmp;
    const QString corpusPath = QDir(tmp.path()).filePath("corpus.txt");
    {
        QFile f(corpusPath);
        if (!f.open(QIODevice::WriteOnly)) {
            out << "cannot write " << corpusPath << "\n";
            return 1;
        }
        for (const QString &m : corpus)
            f.write(m.toLatin1() + '\n');
    }
    out << "corpus: " << messages << " messages, " << bytes << " bytes (" << QString::number(double(bytes) / messages, 'f', 0)
        << " bytes per message)\n";

    // The walk of the result intake: split at CR, recognise each line, parse it into the input set.
    MessageDef md;
    md.serologyCheck = [](const QString &) { return false; };
    qint64 best = std::numeric_limits<qint64>::max();
    qint64 segments = 0;
    for (int r = 0; r < rounds; ++r) {
        segments = 0;
        QElapsedTimer t;
        t.start();
        for (const QString &m : corpus) {
            md.InitSegDetectors();
            md.ClearRecords(1);
            for (const QString &line : m.split(QChar(kCR))) {
                if (md.IsSegment(line) && md.getSegment(MessageDef::Remove_VT(line), 1))
                    ++segments;
            }
        }
        best = std::min(best, t.nsecsElapsed());
    }
    const double cppSeconds = double(best) / 1e9;
    const double cppMBs = double(bytes) / 1e6 / cppSeconds;
    const double cppMsgs = messages / cppSeconds;
    out << QString("C++ MessageDef walk:  %1 s, %2 MB/s, %3 messages/s (%4 segments, best of %5)\n")
               .arg(cppSeconds, 0, 'f', 3)
               .arg(cppMBs, 0, 'f', 1)
               .arg(cppMsgs, 0, 'f', 0)
               .arg(segments)
               .arg(rounds);
    out.flush();

    const QString peer = QDir(QFileInfo(QStringLiteral(__FILE__)).absolutePath()).filePath("hl7parse_peer.py");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {peer, corpusPath});
    if (!python.waitForFinished(-1) || python.exitCode() != 0) {
        out << "python3-hl7 peer failed: " << python.readAllStandardError() << "\n";
        return 1;
    }
    const QStringList fields = QString::fromLatin1(python.readAllStandardOutput()).split(u' ', Qt::SkipEmptyParts);
    if (fields.size() < 3) {
        out << "python3-hl7 peer gave no figures\n";
        return 1;
    }
    const double pySeconds = fields[2].toDouble();
    const double pyMBs = fields[1].toDouble() / 1e6 / pySeconds;
    const double pyMsgs = fields[0].toDouble() / pySeconds;
    out << QString("python3-hl7 hl7.parse: %1 s, %2 MB/s, %3 messages/s (%4 segments)\n")
               .arg(pySeconds, 0, 'f', 3)
               .arg(pyMBs, 0, 'f', 1)
               .arg(pyMsgs, 0, 'f', 0)
               .arg(fields.value(3).trimmed());
    out << QString("ratio C++ / python3-hl7: %1x\n").arg(pySeconds / cppSeconds, 0, 'f', 1);
    return 0;
}
