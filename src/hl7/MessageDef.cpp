#include "MessageDef.h"

#include "CommLog.h"
#include "Globals.h"
#include "HL7Header.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace {

constexpr std::array<int, kSegmentKinds> kSlotCounts = {19, 7, 4, 35, 5, 15, 22, 45, 10, 24, 6, 39};

const std::array<QString, kSegmentKinds> &segmentIds()
{
    static const std::array<QString, kSegmentKinds> ids = {
        QStringLiteral("MSH"), QStringLiteral("MSA"), QStringLiteral("NTE"), QStringLiteral("PID"),
        QStringLiteral("PCD"), QStringLiteral("PV1"), QStringLiteral("ORC"), QStringLiteral("OBR"),
        QStringLiteral("TCD"), QStringLiteral("OBX"), QStringLiteral("EQU"), QStringLiteral("SAC")};
    return ids;
}

// A segment line split at "|": piece n, or the empty text when the line has no piece n.
class Pieces {
public:
    explicit Pieces(const QString &line) : m_pieces(line.split(u'|')) {}
    qsizetype size() const { return m_pieces.size(); }
    bool has(qsizetype n) const { return n < m_pieces.size(); }
    QString operator[](qsizetype n) const { return n < m_pieces.size() ? m_pieces[n] : QString(); }

private:
    QStringList m_pieces;
};

// Component k (from 1) of a piece split at "^"; an empty piece has no components.
QString component(const QString &piece, int k)
{
    if (piece.isEmpty())
        return QString();
    qsizetype start = 0;
    for (int i = 1; i < k; ++i) {
        const qsizetype caret = piece.indexOf(u'^', start);
        if (caret < 0)
            return QString();
        start = caret + 1;
    }
    const qsizetype end = piece.indexOf(u'^', start);
    return piece.mid(start, end < 0 ? -1 : end - start);
}

QString lastComponent(const QString &piece)
{
    return piece.mid(piece.lastIndexOf(u'^') + 1);
}

// Leading and trailing blanks (spaces only) removed.
QString trimBlanks(const QString &text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b] == u' ')
        ++b;
    while (e > b && text[e - 1] == u' ')
        --e;
    return text.mid(b, e - b);
}

bool startsWithPoint(const QString &text)
{
    return trimBlanks(text).startsWith(u'.');
}

// Slot n = piece n for n = first to last.
void copyPieces(QStringList &record, const Pieces &p, int first, int last, int pieceOffset = 0)
{
    for (int n = first; n <= last; ++n)
        record[n] = p[n + pieceOffset];
}

void emptySlots(QStringList &record, int count)
{
    if (record.size() != count) {
        record = QStringList(count);
        return;
    }
    for (QString &slot : record)
        slot.clear();
}

// Day and time texts of formatDT: a part that does not form a valid date or time is kept.
bool allDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (!c.isDigit())
            return false;
    return true;
}

QDate dateOf(const QString &year, const QString &month, const QString &day)
{
    if (!allDigits(year) || !allDigits(month) || !allDigits(day))
        return QDate();
    return QDate(year.toInt(), month.toInt(), day.toInt());
}

// Hour and minute are needed; missing seconds count as zero.
QTime timeOf(const QString &hour, const QString &minute, const QString &second)
{
    if (!allDigits(hour) || !allDigits(minute) || (!second.isEmpty() && !allDigits(second)))
        return QTime();
    return QTime(hour.toInt(), minute.toInt(), second.isEmpty() ? 0 : second.toInt());
}

} // namespace

// ---------------------------------------------------------------------------------------

SegmentRecords::SegmentRecords()
{
    clear();
}

QStringList &SegmentRecords::record(SegmentKind kind)
{
    switch (kind) {
    case SegmentKind::MSH: return MSH;
    case SegmentKind::MSA: return MSA;
    case SegmentKind::NTE: return NTE;
    case SegmentKind::PID: return PID;
    case SegmentKind::PCD: return PCD;
    case SegmentKind::PV1: return PV1;
    case SegmentKind::ORC: return ORC;
    case SegmentKind::OBR: return OBR;
    case SegmentKind::TCD: return TCD;
    case SegmentKind::OBX: return OBX;
    case SegmentKind::EQU: return EQU;
    case SegmentKind::SAC: return SAC;
    }
    Q_UNREACHABLE();
}

const QStringList &SegmentRecords::record(SegmentKind kind) const
{
    return const_cast<SegmentRecords *>(this)->record(kind);
}

int SegmentRecords::slotCount(SegmentKind kind)
{
    return kSlotCounts[size_t(kind)];
}

void SegmentRecords::clear()
{
    for (int k = 0; k < kSegmentKinds; ++k)
        emptySlots(record(SegmentKind(k)), kSlotCounts[size_t(k)]);
}

// ---------------------------------------------------------------------------------------

MessageDef::MessageDef()
    : serologyCheck([](const QString &testCode) { return CheckSero(testCode); })
{
}

MessageDef &MessageDef::instance()
{
    static MessageDef object;
    return object;
}

QString MessageDef::modeTerminator() const
{
    return gblConnectionMode ? QStringLiteral("\r\n") : QStringLiteral("\r");
}

QString MessageDef::Create_MSH(const QString &RecordType, const QString &EncChr, const QString &SendingApp,
                               const QString &SendingFac, const QString &ReceivingApp, const QString &ReceivingFac,
                               const QString &MsgDateTime, const QString &Security, const QString &MsgType,
                               const QString &MsgCtrlID, const QString &ProcessingID, const QString &VersionID,
                               const QString &SequenceNum, const QString &ContPtr, const QString &AcceptAckType,
                               const QString &AppAckType, const QString &CountryCode, const QString &ChrSet,
                               const QString &MsgLang) const
{
    QString s = RecordType;
    for (const QString *field : {&EncChr, &SendingApp, &SendingFac, &ReceivingApp, &ReceivingFac, &MsgDateTime,
                                 &Security, &MsgType, &MsgCtrlID, &ProcessingID, &VersionID, &SequenceNum, &ContPtr,
                                 &AcceptAckType, &AppAckType, &CountryCode, &ChrSet, &MsgLang}) {
        s += u'|';
        s += *field;
    }
    return s + modeTerminator();
}

QString MessageDef::Create_MSA(const QString &RecordType, const QString &AckCode, const QString &MsgCtrlID,
                               const QString &TxtMsg, const QString &ExSequenceNum, const QString &DelayedAckType,
                               const QString &ErrCondition) const
{
    QString s = RecordType;
    for (const QString *field : {&AckCode, &MsgCtrlID, &TxtMsg, &ExSequenceNum, &DelayedAckType, &ErrCondition}) {
        s += u'|';
        s += *field;
    }
    return s + QChar(kCR);
}

// ---------------------------------------------------------------------------------------

bool MessageDef::Has_VT(const QString &msg)
{
    return msg.contains(QChar(kVT));
}

bool MessageDef::Has_FS(const QString &msg)
{
    return msg.contains(QChar(kFS));
}

QString MessageDef::Remove_VT(const QString &msg)
{
    return Has_VT(msg) ? msg.mid(1) : msg;
}

int MessageDef::segmentIndex(const QString &id)
{
    const auto &ids = segmentIds();
    for (int k = 0; k < kSegmentKinds; ++k)
        if (ids[size_t(k)] == id)
            return k;
    return -1;
}

bool MessageDef::Valid_Segment(const QString &msg)
{
    if (segmentIndex(msg) < 0)
        return false;
    CurrentSegment = msg;
    return true;
}

bool MessageDef::IsSegment(const QString &line)
{
    return Valid_Segment(Remove_VT(line).left(3));
}

bool &MessageDef::presenceFlag(SegmentKind kind)
{
    switch (kind) {
    case SegmentKind::MSH: return bolHasMSH;
    case SegmentKind::MSA: return bolHasMSA;
    case SegmentKind::NTE: return bolHasNTE;
    case SegmentKind::PID: return bolHasPID;
    case SegmentKind::PCD: return bolHasPCD;
    case SegmentKind::PV1: return bolHasPV1;
    case SegmentKind::ORC: return bolHasORC;
    case SegmentKind::OBR: return bolHasOBR;
    case SegmentKind::TCD: return bolHasTCD;
    case SegmentKind::OBX: return bolHasOBX;
    case SegmentKind::EQU: return bolHasEQU;
    case SegmentKind::SAC: return bolHasSAC;
    }
    Q_UNREACHABLE();
}

bool MessageDef::getSegment(const QString &msg, qint16 intMode)
{
    const int k = segmentIndex(CurrentSegment);
    if (k < 0)
        return false;
    SegmentRecords &set = intMode == 1 ? input : completion;
    switch (SegmentKind(k)) {
    case SegmentKind::MSH: ParseMSH(msg, set); break;
    case SegmentKind::MSA: ParseMSA(msg, set); break;
    case SegmentKind::NTE: ParseNTE(msg, set); break;
    case SegmentKind::PID: ParsePID(msg, set); break;
    case SegmentKind::PCD: ParsePCD(msg, set); break;
    case SegmentKind::PV1: ParsePV1(msg, set); break;
    case SegmentKind::ORC: ParseORC(msg, set); break;
    case SegmentKind::OBR: ParseOBR(msg, set); break;
    case SegmentKind::TCD: ParseTCD(msg, set); break;
    case SegmentKind::OBX: ParseOBX(msg, set); break;
    case SegmentKind::EQU: ParseEQU(msg, set); break;
    case SegmentKind::SAC: ParseSAC(msg, set); break;
    }
    presenceFlag(SegmentKind(k)) = true;
    return true;
}

void MessageDef::InitSegDetectors()
{
    for (int k = 0; k < kSegmentKinds; ++k)
        presenceFlag(SegmentKind(k)) = false;
}

void MessageDef::ClearNTE()
{
    emptySlots(input.NTE, SegmentRecords::slotCount(SegmentKind::NTE));
}

void MessageDef::ClearRecords(qint16 intMode)
{
    (intMode == 1 ? input : completion).clear();
}

// ---------------------------------------------------------------------------------------

void MessageDef::ParseMSH(const QString &line, SegmentRecords &set)
{
    QStringList &r = set.MSH;
    emptySlots(r, 19);
    const Pieces p(line);
    copyPieces(r, p, 0, 18);
    r[8] = component(p[8], 1);
}

void MessageDef::ParseMSA(const QString &line, SegmentRecords &set)
{
    emptySlots(set.MSA, 7);
    copyPieces(set.MSA, Pieces(line), 0, 6);
}

void MessageDef::ParseNTE(const QString &line, SegmentRecords &set)
{
    QStringList &r = set.NTE;
    emptySlots(r, 4);
    const Pieces p(line);
    copyPieces(r, p, 0, 3);
    // "name : label : text" keeps the text alone.
    if (r[3].contains(u':')) {
        const QStringList parts = r[3].split(u':');
        if (parts.size() >= 3)
            r[3] = trimBlanks(parts[2]);
    }
}

void MessageDef::ParsePID(const QString &line, SegmentRecords &set)
{
    QStringList &r = set.PID;
    emptySlots(r, 35);
    const Pieces p(line);
    r[0] = p[0];
    r[1] = p[1];
    r[2] = p[2];
    r[3] = component(p[3], 1);
    r[4] = p[4];
    for (int c = 1; c <= 5; ++c)
        r[4 + c] = component(p[5], c);
    copyPieces(r, p, 10, 22, -4);
    if (p.has(3) && p[3].isEmpty())
        TraceLog(QStringLiteral("no content for PID.3"));
}

void MessageDef::ParsePCD(const QString &line, SegmentRecords &set)
{
    emptySlots(set.PCD, 5);
    copyPieces(set.PCD, Pieces(line), 0, 4);
}

void MessageDef::ParsePV1(const QString &line, SegmentRecords &set)
{
    QStringList &r = set.PV1;
    emptySlots(r, 15);
    const Pieces p(line);
    copyPieces(r, p, 0, 8);
    r[10] = component(p[19], 1);
    r[11] = component(p[7], 1);
    r[12] = component(p[7], 2);
    r[13] = component(p[7], 3);
    r[14] = component(p[9], 1);
}

void MessageDef::ParseORC(const QString &line, SegmentRecords &set)
{
    QStringList &r = set.ORC;
    emptySlots(r, 22);
    const Pieces p(line);
    copyPieces(r, p, 0, 10);
    r[20] = component(p[10], 2);
    r[21] = component(p[10], 3);
}

void MessageDef::ParseOBR(const QString &line, SegmentRecords &set)
{
    QStringList &r = set.OBR;
    emptySlots(r, 45);
    const Pieces p(line);
    copyPieces(r, p, 0, 3);
    r[4] = component(p[4], 2);
    copyPieces(r, p, 5, 27);
    r[16] = component(p[16], 1);
    r[32] = lastComponent(p[32]);
    r[44] = component(p[4], 1);

    if (TraceEnabled()) {
        // Piece by piece, appended at the bottom of the trace.
        for (qsizetype n = 0; n < p.size(); ++n)
            TraceLog(p[n] + u' ' + QString::number(n), 1);
    }
    if (p.has(16) && p[16].isEmpty())
        TraceLog(QStringLiteral("No radiologist resident for") + p[2]);
    if (p.has(32) && p[32].isEmpty())
        TraceLog(QStringLiteral("No radiologist for") + p[2]);
}

void MessageDef::ParseTCD(const QString &line, SegmentRecords &set)
{
    emptySlots(set.TCD, 10);
    copyPieces(set.TCD, Pieces(line), 0, 9);
}

QString MessageDef::observationValue(const QString &value, const QString &testCode) const
{
    if (!value.contains(u'^'))
        return startsWithPoint(value) ? u'0' + value : value;
    const QString c1 = component(value, 1);
    const QString first = startsWithPoint(c1) ? u'0' + c1 : c1;
    const bool serology = serologyCheck ? serologyCheck(testCode) : false;
    return serology ? first + u'^' + component(value, 2) : first;
}

void MessageDef::ParseOBX(const QString &line, SegmentRecords &set)
{
    QStringList &r = set.OBX;
    emptySlots(r, 24);
    const Pieces p(line);
    copyPieces(r, p, 0, 2);
    r[3] = component(p[3], 1);
    r[4] = p[4];
    r[7] = QString(p[6]).replace(QStringLiteral("\\S\\"), QStringLiteral("^"));
    r[8] = component(p[7], 1);
    r[9] = component(p[7], 2);
    r[10] = component(p[7], 3);
    r[11] = component(p[5], 2);
    copyPieces(r, p, 12, 18, -3);
    r[19] = component(p[16], 1);
    r[20] = component(p[16], 2);
    r[21] = p[17];
    r[22] = p[18];
    // Last: the serology question may fail, and then the other slots are already filled.
    r[5] = observationValue(p[5], r[3]);
}

void MessageDef::ParseEQU(const QString &line, SegmentRecords &set)
{
    emptySlots(set.EQU, 6);
    copyPieces(set.EQU, Pieces(line), 0, 5);
}

void MessageDef::ParseSAC(const QString &line, SegmentRecords &set)
{
    emptySlots(set.SAC, 39);
    copyPieces(set.SAC, Pieces(line), 0, 38);
}

// ---------------------------------------------------------------------------------------

QString MessageDef::AbnormalFlagText(const QString &flag)
{
    static const QList<std::pair<QString, QString>> texts = {
        {QString(), QString()},
        {QStringLiteral("L"), QStringLiteral("Lesser than normal therapeutic ranges.")},
        {QStringLiteral("H"), QStringLiteral("Greater than normal therapeutic ranges.")},
        {QStringLiteral("LL"), QStringLiteral("Lesser than extreme range.")},
        {QStringLiteral("HH"), QStringLiteral("Greater than extreme range.")},
        {QStringLiteral("<"), QStringLiteral("Lesser than dynamic range of the assay")},
        {QStringLiteral(">"), QStringLiteral("Greater than dynamic range of the assay.")},
        {QStringLiteral("QC"), QStringLiteral("Assay Quality Control out of range.")},
        {QStringLiteral("EX"), QStringLiteral("Expired Reagent.")},
    };
    for (const auto &[f, text] : texts)
        if (f == flag)
            return text;
    return QStringLiteral("Unknown Error");
}

QString MessageDef::formatDT(QString &DTstr, qint16 myDTdef)
{
    if (DTstr.isEmpty())
        DTstr = GetServerDateTime(0);
    const QString year = DTstr.mid(0, 4);
    const QString month = DTstr.mid(4, 2);
    const QString day = DTstr.mid(6, 2);
    const QString hour = DTstr.mid(8, 2);
    const QString minute = DTstr.mid(10, 2);
    const QString second = DTstr.mid(12, 2);
    const QString d = month + u'/' + day + u'/' + year;
    const QString t = hour + u':' + minute + u':' + second;
    const QDate date = dateOf(year, month, day);
    const QTime time = timeOf(hour, minute, second);
    const QLocale locale;

    const auto longDate = [&] {
        return date.isValid() ? locale.toString(date, QStringLiteral("MMMM dd, yyyy")) : d;
    };
    const auto longTime = [&] {
        return time.isValid() ? locale.toString(time, QStringLiteral("h:mm:ss AP")) : t;
    };

    QString result;
    switch (myDTdef) {
    case 1: result = longDate(); break;
    case 2: result = longTime(); break;
    case 3: result = longDate() + u' ' + longTime(); break;
    case 4:
        result = (date.isValid() ? locale.toString(date, QLocale::ShortFormat) : d) + u' '
                 + (time.isValid() ? locale.toString(time, QLocale::ShortFormat) : t);
        break;
    default: break;
    }
    return result.remove(QStringLiteral("::"));
}
