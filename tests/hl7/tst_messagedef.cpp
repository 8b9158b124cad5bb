// The message class without a database: segment builders, line recognition, the parsers of
// every segment kind, the abnormal-flag texts and the date-time reformatting.

#include "CommLog.h"
#include "Globals.h"
#include "MessageDef.h"
#include "TestSupport.h"

#include <QLocale>
#include <QMap>
#include <QtTest>

namespace {

// A segment line from its id and the pieces that hold something; pieces in between are
// empty, and the line ends at the highest piece given.
QString seg(const QString &id, const QMap<int, QString> &pieces)
{
    QStringList p{id};
    const int last = pieces.isEmpty() ? 0 : pieces.lastKey();
    for (int n = 1; n <= last; ++n)
        p << pieces.value(n);
    return p.join(u'|');
}

// Trace lines carry a time in front; this is the text after it.
bool traced(const QString &text)
{
    for (const QString &line : TraceModel::log().lines())
        if (line.endsWith(u' ' + text))
            return true;
    return false;
}

} // namespace

class TestMessageDef : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void builders_data();
    void builders();

    void recognition_data();
    void recognition();
    void removeVT();

    void parsers_data();
    void parsers();
    void obrPieceTraceGoesToTheBottom();
    void modesFillTheirOwnSet();
    void clearing();

    void abnormalFlagText_data();
    void abnormalFlagText();

    void formatDT_data();
    void formatDT();
};

void TestMessageDef::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestMessageDef::init()
{
    TraceModel::log().clear();
    SetTraceEnabled(false);
    gblConnectionMode = false;
}

void TestMessageDef::builders_data()
{
    QTest::addColumn<bool>("fileMode");
    QTest::addColumn<QString>("values"); // "|"-separated values for the builder's fields
    QTest::addColumn<QString>("msh");
    QTest::addColumn<QString>("msa");

    const QString bars17 = QString(17, u'|');
    QTest::newRow("empty, socket mode") << false << QString()
                                        << "MSH" + QString(18, u'|') + "\r" << "MSA" + QString(6, u'|') + "\r";
    QTest::newRow("empty, file mode: MSH ends CR LF, MSA still CR")
        << true << QString() << "MSH" + QString(18, u'|') + "\r\n" << "MSA" + QString(6, u'|') + "\r";
    QTest::newRow("encoding characters only") << false << "^~\\&" << "MSH|^~\\&" + bars17 + "\r"
                                              << "MSA|^~\\&" + QString(5, u'|') + "\r";
    QTest::newRow("a value with a bar shifts the later fields")
        << false << "^~\\&|A|B" << "MSH|^~\\&|A|B" + bars17 + "\r" << "MSA|^~\\&|A|B|||||\r";
}

void TestMessageDef::builders()
{
    QFETCH(bool, fileMode);
    QFETCH(QString, values);
    QFETCH(QString, msh);
    QFETCH(QString, msa);
    gblConnectionMode = fileMode;
    // The first value (with any bars it holds) goes into the first field, the rest are empty.
    const QString e;
    MessageDef md;
    QCOMPARE(md.Create_MSH("MSH", values, e, e, e, e, e, e, e, e, e, e, e, e, e, e, e, e, e), msh);
    QCOMPARE(md.Create_MSA("MSA", values, e, e, e, e, e), msa);
}

void TestMessageDef::recognition_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("segment");
    QTest::addColumn<QString>("current"); // CurrentSegment afterwards, starting from "OBX"

    QTest::newRow("MSH") << "MSH|^~\\&|RIS" << true << "MSH";
    QTest::newRow("framed PID") << "\vPID|1||123" << true << "PID";
    QTest::newRow("id alone") << "SAC" << true << "SAC";
    QTest::newRow("other letters") << "ZDS|1" << false << "OBX";
    QTest::newRow("lower case") << "pid|1" << false << "OBX";
    QTest::newRow("FS alone") << QString(QChar(kFS)) << false << "OBX";
    QTest::newRow("empty") << QString() << false << "OBX";
    QTest::newRow("short") << "PI" << false << "OBX";
}

void TestMessageDef::recognition()
{
    QFETCH(QString, line);
    QFETCH(bool, segment);
    QFETCH(QString, current);
    MessageDef md;
    QVERIFY(md.IsSegment("OBX|1"));
    QCOMPARE(md.IsSegment(line), segment);
    QCOMPARE(md.CurrentSegment, current);
}

void TestMessageDef::removeVT()
{
    QCOMPARE(MessageDef::Remove_VT("\vMSH|"), QString("MSH|"));
    QCOMPARE(MessageDef::Remove_VT("MSH|"), QString("MSH|"));
    // Wherever the VT is, the first character goes.
    QCOMPARE(MessageDef::Remove_VT("AB\vC"), QString("B\vC"));
    QVERIFY(MessageDef::Has_FS("abc\x1c\r"));
    QVERIFY(!MessageDef::Has_VT("abc\x1c\r"));
}

void TestMessageDef::parsers_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("filled");     // "n=text" for every slot that holds something
    QTest::addColumn<QStringList>("traces");    // trace lines written (the Trace box is off)
    QTest::addColumn<int>("serologyQuestions"); // CheckSero calls; only HBSAG is serology

    using M = QMap<int, QString>;
    const QStringList none;

    // MSH pieces are one off from the field numbers: slot 9 holds MSH-10, the control id.
    QTest::newRow("MSH") << "MSH|^~\\&|RIS|HOSP|KALDRA|LAB|20240105140509||ORU^R01|MSG00001|P|2.3"
                         << QStringList{"0=MSH", "1=^~\\&", "2=RIS", "3=HOSP", "4=KALDRA", "5=LAB",
                                        "6=20240105140509", "8=ORU", "9=MSG00001", "10=P", "11=2.3"}
                         << none << 0;
    QTest::newRow("MSA") << "MSA|AA|MSG00001|fine|||x|extra"
                         << QStringList{"0=MSA", "1=AA", "2=MSG00001", "3=fine", "6=x"} << none << 0;

    QTest::newRow("NTE three-part note") << "NTE|1|L|Dr Nobody : Impression :  Normal study  "
                                         << QStringList{"0=NTE", "1=1", "2=L", "3=Normal study"} << none << 0;
    QTest::newRow("NTE four parts keep the third") << "NTE|1||a:b: c :d"
                                                   << QStringList{"0=NTE", "1=1", "3=c"} << none << 0;
    QTest::newRow("NTE two parts stay whole") << "NTE|1||Note: see film"
                                              << QStringList{"0=NTE", "1=1", "3=Note: see film"} << none << 0;
    QTest::newRow("NTE ends after piece 1") << "NTE|1" << QStringList{"0=NTE", "1=1"} << none << 0;

    QTest::newRow("PID components")
        << seg("PID", M{{1, "1"}, {2, "EXT9"}, {3, "12345^^^HOSP^MR"}, {4, "ALT1"}, {5, "DOE^JOHN^Q^JR^MR"},
                        {6, "MAIDEN"}, {7, "19800101"}, {8, "M"}, {11, "ADDR"}, {18, "ACC7"}, {19, "SSN"}, {20, "DL"}})
        << QStringList{"0=PID", "1=1", "2=EXT9", "3=12345", "4=ALT1", "5=DOE", "6=JOHN", "7=Q", "8=JR", "9=MR",
                       "10=MAIDEN", "11=19800101", "12=M", "15=ADDR", "22=ACC7"}
        << none << 0;
    QTest::newRow("PID with an empty PID.3 traces it")
        << "PID|1||" << QStringList{"0=PID", "1=1"} << QStringList{"no content for PID.3"} << 0;
    QTest::newRow("PID ending after piece 1 traces nothing") << "PID|1" << QStringList{"0=PID", "1=1"} << none << 0;

    QTest::newRow("PCD") << "PCD|1|2|3|4|5" << QStringList{"0=PCD", "1=1", "2=2", "3=3", "4=4"} << none << 0;

    QTest::newRow("PV1 components")
        << seg("PV1", M{{1, "1"}, {2, "I"}, {3, "WARD^101^A"}, {7, "D001^HOUSE^GREGORY"}, {8, "X"},
                        {9, "C002^WILSON"}, {19, "V98765^^^HOSP"}})
        << QStringList{"0=PV1", "1=1", "2=I", "3=WARD^101^A", "7=D001^HOUSE^GREGORY", "8=X", "10=V98765", "11=D001",
                       "12=HOUSE", "13=GREGORY", "14=C002"}
        << none << 0;
    QTest::newRow("PV1 with few pieces") << "PV1|1|O" << QStringList{"0=PV1", "1=1", "2=O"} << none << 0;

    QTest::newRow("ORC entered by")
        << seg("ORC", M{{1, "RE"}, {2, "ORD1"}, {9, "20240105"}, {10, "N01^NURSE^ANNA"}, {11, "dropped"}})
        << QStringList{"0=ORC", "1=RE", "2=ORD1", "9=20240105", "10=N01^NURSE^ANNA", "20=NURSE", "21=ANNA"} << none
        << 0;

    QTest::newRow("OBR components")
        << seg("OBR", M{{1, "1"}, {2, "REQ123"}, {3, "FIL9"}, {4, "XR001^CHEST PA"}, {7, "20240105140509"},
                        {16, "RES1^RESIDENT^ROSA"}, {22, "20240105150000"}, {24, "RAD"}, {25, "F"}, {27, "T"},
                        {28, "dropped"}, {32, "R7^RADIOLOGIST^DAN"}})
        << QStringList{"0=OBR", "1=1", "2=REQ123", "3=FIL9", "4=CHEST PA", "7=20240105140509", "16=RES1",
                       "22=20240105150000", "24=RAD", "25=F", "27=T", "32=DAN", "44=XR001"}
        << none << 0;
    QTest::newRow("OBR without radiologists")
        << seg("OBR", M{{2, "REQ9"}, {4, "XR002"}, {32, ""}})
        << QStringList{"0=OBR", "2=REQ9", "44=XR002"}
        << QStringList{"No radiologist resident forREQ9", "No radiologist forREQ9"} << 0;
    QTest::newRow("OBR ending before piece 16") << "OBR|1|REQ9" << QStringList{"0=OBR", "1=1", "2=REQ9"} << none << 0;

    QTest::newRow("TCD") << "TCD|A|B|C|D|E|F|G|H|I|J"
                         << QStringList{"0=TCD", "1=A", "2=B", "3=C", "4=D", "5=E", "6=F", "7=G", "8=H", "9=I"}
                         << none << 0;

    // OBX: piece 3 test code, 5 value, 6 units, 7 range, 8 flags (not kept), 9-15, 16 observer.
    QTest::newRow("OBX report line")
        << seg("OBX", M{{1, "1"}, {2, "TX"}, {3, "XR001^CHEST PA"}, {4, "1"}, {5, "Radiologist  : Dr Dan"}})
        << QStringList{"0=OBX", "1=1", "2=TX", "3=XR001", "4=1", "5=Radiologist  : Dr Dan"} << none << 0;
    QTest::newRow("OBX all pieces")
        << seg("OBX", M{{1, "2"}, {2, "NM"}, {3, "GLU"}, {5, "5.5"}, {6, "mmol\\S\\L"}, {7, "3.5^5.0^N"}, {8, "H"},
                        {9, "a"}, {10, "b"}, {11, "F"}, {12, "d"}, {13, "e"}, {14, "20240105"}, {15, "f"},
                        {16, "T01^TECH"}, {17, "g"}, {18, "h"}, {19, "dropped"}})
        << QStringList{"0=OBX", "1=2", "2=NM", "3=GLU", "5=5.5", "7=mmol^L", "8=3.5", "9=5.0", "10=N", "12=a", "13=b",
                       "14=F", "15=d", "16=e", "17=20240105", "18=f", "19=T01", "20=TECH", "21=g", "22=h"}
        << none << 0;
    QTest::newRow("OBX range and observer without components")
        << seg("OBX", M{{3, "GLU"}, {5, "6"}, {7, "3.5-5.0"}, {16, "T01"}})
        << QStringList{"0=OBX", "3=GLU", "5=6", "8=3.5-5.0", "19=T01"} << none << 0;
    QTest::newRow("OBX leading point") << "OBX|1|NM|GLU||.5" << QStringList{"0=OBX", "1=1", "2=NM", "3=GLU", "5=0.5"}
                                       << none << 0;
    QTest::newRow("OBX blank before the point stays")
        << "OBX|1|NM|GLU|| .5" << QStringList{"0=OBX", "1=1", "2=NM", "3=GLU", "5=0 .5"} << none << 0;
    QTest::newRow("OBX two components, not serology")
        << "OBX|1|NM|GLU||12^34" << QStringList{"0=OBX", "1=1", "2=NM", "3=GLU", "5=12", "11=34"} << none << 1;
    QTest::newRow("OBX two components, serology")
        << "OBX|1|ST|HBSAG^HEP B||POS^1.2"
        << QStringList{"0=OBX", "1=1", "2=ST", "3=HBSAG", "5=POS^1.2", "11=1.2"} << none << 1;
    QTest::newRow("OBX dotted component, serology")
        << "OBX|1|ST|HBSAG||.5^x" << QStringList{"0=OBX", "1=1", "2=ST", "3=HBSAG", "5=0.5^x", "11=x"} << none << 1;
    QTest::newRow("OBX dotted component, not serology")
        << "OBX|1|NM|GLU|| .5^x" << QStringList{"0=OBX", "1=1", "2=NM", "3=GLU", "5=0 .5", "11=x"} << none << 1;

    QTest::newRow("EQU") << "EQU|A|B|C|D|E|F" << QStringList{"0=EQU", "1=A", "2=B", "3=C", "4=D", "5=E"} << none << 0;
    QStringList sacSlots{"0=SAC"};
    QMap<int, QString> sacPieces;
    for (int n = 1; n <= 39; ++n) {
        sacPieces[n] = "s" + QString::number(n);
        if (n <= 38)
            sacSlots << QString::number(n) + "=s" + QString::number(n);
    }
    QTest::newRow("SAC keeps pieces 0 to 38") << seg("SAC", sacPieces) << sacSlots << none << 0;
}

void TestMessageDef::parsers()
{
    QFETCH(QString, line);
    QFETCH(QStringList, filled);
    QFETCH(QStringList, traces);
    QFETCH(int, serologyQuestions);

    MessageDef md;
    int asked = 0;
    md.serologyCheck = [&asked](const QString &code) {
        ++asked;
        return code == u"HBSAG";
    };
    // A record filled by an earlier segment of the same kind keeps nothing of it.
    const QString id = line.left(3);
    const auto kind = SegmentKind(MessageDef::segmentIndex(id));
    QStringList &record = md.input.record(kind);
    for (QString &slot : record)
        slot = "stale";

    QVERIFY(md.IsSegment(line));
    QVERIFY(md.getSegment(MessageDef::Remove_VT(line), 1));
    QVERIFY(md.presenceFlag(kind));

    QStringList expected(SegmentRecords::slotCount(kind));
    for (const QString &s : filled) {
        const qsizetype eq = s.indexOf(u'=');
        expected[s.left(eq).toInt()] = s.mid(eq + 1);
    }
    QCOMPARE(record, expected);
    QCOMPARE(asked, serologyQuestions);
    QCOMPARE(TraceModel::log().lines().size(), traces.size());
    for (const QString &t : traces)
        QVERIFY2(traced(t), qPrintable(t));
}

void TestMessageDef::obrPieceTraceGoesToTheBottom()
{
    TraceLog("earlier line");
    SetTraceEnabled(true);
    MessageDef md;
    const QString line = "OBR|1|REQ5|F|XR001^CHEST";
    QVERIFY(md.IsSegment(line));
    QVERIFY(md.getSegment(line, 1));
    const QStringList lines = TraceModel::log().lines();
    const QStringList expected{"earlier line", "OBR 0", "1 1", "REQ5 2", "F 3", "XR001^CHEST 4"};
    QCOMPARE(lines.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(lines[i].endsWith(u' ' + expected[i]), qPrintable(lines[i]));
}

void TestMessageDef::modesFillTheirOwnSet()
{
    MessageDef md;
    QVERIFY(md.IsSegment("PID|1||111"));
    QVERIFY(md.getSegment("PID|1||111", 1));
    QVERIFY(md.IsSegment("PID|1||222"));
    QVERIFY(md.getSegment("PID|1||222", 2));
    QCOMPARE(md.input.PID[3], QString("111"));
    QCOMPARE(md.completion.PID[3], QString("222"));

    // getSegment parses by CurrentSegment, not by the line it is given.
    QVERIFY(md.IsSegment("MSA|AA"));
    QVERIFY(md.getSegment("PID|1||333", 1));
    QCOMPARE(md.input.MSA[0], QString("PID"));

    MessageDef fresh;
    QVERIFY(!fresh.getSegment("PID|1", 1)); // no segment recognised yet
}

void TestMessageDef::clearing()
{
    MessageDef md;
    for (const QString &line : QStringList{"NTE|1||a:b:c", "PV1|1|I", "MSH|^~\\&|RIS"}) {
        QVERIFY(md.IsSegment(line));
        QVERIFY(md.getSegment(line, 1));
        QVERIFY(md.IsSegment(line));
        QVERIFY(md.getSegment(line, 2));
    }
    QVERIFY(md.bolHasNTE && md.bolHasPV1 && md.bolHasMSH && !md.bolHasPID);

    md.InitSegDetectors(); // flags only
    QVERIFY(!md.bolHasNTE && !md.bolHasPV1 && !md.bolHasMSH);
    QCOMPARE(md.input.PV1[2], QString("I"));

    md.ClearNTE(); // the input set's NTE only
    QCOMPARE(md.input.NTE, QStringList(4));
    QCOMPARE(md.completion.NTE[3], QString("c"));

    md.ClearRecords(1); // every record of the input set, nothing of the other
    QCOMPARE(md.input.PV1, QStringList(15));
    QCOMPARE(md.input.MSH, QStringList(19));
    QCOMPARE(md.completion.PV1[2], QString("I"));
    md.ClearRecords(2);
    QCOMPARE(md.completion.MSH, QStringList(19));
}

void TestMessageDef::abnormalFlagText_data()
{
    QTest::addColumn<QString>("flag");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("L") << "L" << "Lesser than normal therapeutic ranges.";
    QTest::newRow("H") << "H" << "Greater than normal therapeutic ranges.";
    QTest::newRow("LL") << "LL" << "Lesser than extreme range.";
    QTest::newRow("HH") << "HH" << "Greater than extreme range.";
    QTest::newRow("<") << "<" << "Lesser than dynamic range of the assay";
    QTest::newRow(">") << ">" << "Greater than dynamic range of the assay.";
    QTest::newRow("QC") << "QC" << "Assay Quality Control out of range.";
    QTest::newRow("EX") << "EX" << "Expired Reagent.";
    QTest::newRow("lower case h") << "h" << "Unknown Error";
    QTest::newRow("blank") << " " << "Unknown Error";
    QTest::newRow("N") << "N" << "Unknown Error";
}

void TestMessageDef::abnormalFlagText()
{
    QFETCH(QString, flag);
    QFETCH(QString, text);
    QCOMPARE(MessageDef::AbnormalFlagText(flag), text);
}

void TestMessageDef::formatDT_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("output");
    const QString full = "20240105140509";
    QTest::newRow("1 long date") << full << 1 << "January 05, 2024";
    QTest::newRow("2 time") << full << 2 << "2:05:09 PM";
    QTest::newRow("3 both") << full << 3 << "January 05, 2024 2:05:09 PM";
    QTest::newRow("4 short forms") << full << 4 << "1/5/24 2:05 PM";
    QTest::newRow("9 nothing") << full << 9 << "";
    QTest::newRow("0 nothing") << full << 0 << "";
    QTest::newRow("morning") << "20240105090509" << 2 << "9:05:09 AM";
    QTest::newRow("date alone, 3") << "20240105" << 3 << "January 05, 2024 ";
    QTest::newRow("date alone, 2") << "20240105" << 2 << "";
    QTest::newRow("no seconds") << "202401051405" << 3 << "January 05, 2024 2:05:00 PM";
    QTest::newRow("month 13 kept as it is") << "20241305140509" << 3 << "13/05/2024 2:05:09 PM";
    QTest::newRow("hour 25 kept as it is") << "20240105250509" << 2 << "25:05:09";
    QTest::newRow("letters") << "2024AB05" << 1 << "AB/05/2024";
}

void TestMessageDef::formatDT()
{
    QFETCH(QString, input);
    QFETCH(int, mode);
    QFETCH(QString, output);
    QString dt = input;
    QCOMPARE(MessageDef::formatDT(dt, qint16(mode)), output);
    QCOMPARE(dt, input);
}

RELAYON_CORE_TEST_MAIN(TestMessageDef)
#include "tst_messagedef.moc"
