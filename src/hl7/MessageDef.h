#pragma once
// The program's HL7 v2 message class: the segment builders of the acknowledgement, the
// recognition of segment lines and their parsing into segment records, the abnormal-flag
// texts and the date-time reformatting of the result intake.
//
// One object serves every caller (MessageDef::instance()); its records carry over from one
// call to the next. Parsing with mode 1 fills the input set (read by the result intake),
// any other mode the completion set (read by the completion messages).

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

// HL7 lower-layer framing and encoding characters.
inline constexpr char16_t kVT = 0x0B;
inline constexpr char16_t kFS = 0x1C;
inline constexpr char16_t kCR = 0x0D;
inline constexpr char16_t kLF = 0x0A;

enum class SegmentKind { MSH, MSA, NTE, PID, PCD, PV1, ORC, OBR, TCD, OBX, EQU, SAC };
inline constexpr int kSegmentKinds = 12;

// One set of twelve segment records; each record is a fixed list of text slots.
struct SegmentRecords {
    SegmentRecords();

    QStringList MSH; // 19 slots
    QStringList MSA; // 7
    QStringList NTE; // 4
    QStringList PID; // 35
    QStringList PCD; // 5
    QStringList PV1; // 15
    QStringList ORC; // 22
    QStringList OBR; // 45
    QStringList TCD; // 10
    QStringList OBX; // 24
    QStringList EQU; // 6
    QStringList SAC; // 39

    QStringList &record(SegmentKind kind);
    const QStringList &record(SegmentKind kind) const;
    static int slotCount(SegmentKind kind);
    // Every slot of every record becomes the empty text.
    void clear();
};

class MessageDef {
public:
    MessageDef();

    // The process-wide object, created on first use.
    static MessageDef &instance();

    // Segment-presence flags: set when a segment of that kind was parsed since the last
    // InitSegDetectors.
    bool bolHasMSH = false;
    bool bolHasMSA = false;
    bool bolHasNTE = false;
    bool bolHasPID = false;
    bool bolHasPCD = false;
    bool bolHasPV1 = false;
    bool bolHasORC = false;
    bool bolHasOBR = false;
    bool bolHasTCD = false;
    bool bolHasOBX = false;
    bool bolHasEQU = false;
    bool bolHasSAC = false;

    // The segment id last accepted by Valid_Segment.
    QString CurrentSegment;

    SegmentRecords input;      // parsed with intMode 1
    SegmentRecords completion; // parsed with any other intMode

    // Whether a laboratory test code is a serology test (the OBX value rules ask it for
    // every value with a "^"). CheckSero over the program's connection by default; a
    // database error travels to the caller of getSegment.
    std::function<bool(const QString &testCode)> serologyCheck;

    // --- builders -------------------------------------------------------------------------
    // The header: RecordType and eighteen fields, ended by CR LF in file transfer mode
    // (gblConnectionMode True) and by CR in socket mode. Values are written as passed.
    QString Create_MSH(const QString &RecordType, const QString &EncChr, const QString &SendingApp,
                       const QString &SendingFac, const QString &ReceivingApp, const QString &ReceivingFac,
                       const QString &MsgDateTime, const QString &Security, const QString &MsgType,
                       const QString &MsgCtrlID, const QString &ProcessingID, const QString &VersionID,
                       const QString &SequenceNum, const QString &ContPtr, const QString &AcceptAckType,
                       const QString &AppAckType, const QString &CountryCode, const QString &ChrSet,
                       const QString &MsgLang) const;
    // The acknowledgement segment: RecordType and six fields, always ended by CR.
    QString Create_MSA(const QString &RecordType, const QString &AckCode, const QString &MsgCtrlID,
                       const QString &TxtMsg, const QString &ExSequenceNum, const QString &DelayedAckType,
                       const QString &ErrCondition) const;

    // --- framing and recognition -----------------------------------------------------------
    static bool Has_VT(const QString &msg);
    static bool Has_FS(const QString &msg);
    // msg without its first character when it holds a VT anywhere, else msg unchanged.
    static QString Remove_VT(const QString &msg);
    // True for one of the twelve segment ids (exact case); then CurrentSegment := msg.
    bool Valid_Segment(const QString &msg);
    // Valid_Segment on the first three characters of the line without its VT.
    bool IsSegment(const QString &line);
    // Parses msg (a line without VT) into the record of kind CurrentSegment of the input
    // set (intMode 1) or the completion set, and sets that kind's presence flag. False when
    // CurrentSegment is no segment id.
    bool getSegment(const QString &msg, qint16 intMode);
    void InitSegDetectors();
    void ClearNTE();
    // Empties every record of the input set (intMode 1) or of the completion set. The
    // result intake calls it at the start of each message so that nothing of the previous
    // message is read as this one's.
    void ClearRecords(qint16 intMode);

    static QString AbnormalFlagText(const QString &flag);

    // Reformats "YYYYMMDDhhmmss" (modes 1 to 4, else the empty text). An empty DTstr is
    // first replaced by the server's current time, written back into the caller's variable.
    static QString formatDT(QString &DTstr, qint16 myDTdef);

    // --- the parsers getSegment uses (public for the benchmark and tests) -------------------
    void ParseMSH(const QString &line, SegmentRecords &set);
    void ParseMSA(const QString &line, SegmentRecords &set);
    void ParseNTE(const QString &line, SegmentRecords &set);
    void ParsePID(const QString &line, SegmentRecords &set);
    void ParsePCD(const QString &line, SegmentRecords &set);
    void ParsePV1(const QString &line, SegmentRecords &set);
    void ParseORC(const QString &line, SegmentRecords &set);
    void ParseOBR(const QString &line, SegmentRecords &set);
    void ParseTCD(const QString &line, SegmentRecords &set);
    void ParseOBX(const QString &line, SegmentRecords &set);
    void ParseEQU(const QString &line, SegmentRecords &set);
    void ParseSAC(const QString &line, SegmentRecords &set);

    // The observation value of an OBX from its piece 5 and the test code.
    QString observationValue(const QString &value, const QString &testCode) const;

    // The segment kind of an id, or -1.
    static int segmentIndex(const QString &id);
    bool &presenceFlag(SegmentKind kind);

private:
    QString modeTerminator() const;
};
