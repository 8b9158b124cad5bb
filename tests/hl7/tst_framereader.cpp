// The frame reader of the workstation links: the same byte stream cut anywhere gives the same
// frames and the same dropped bytes; garbage, empty, interrupted and oversized frames.

#include "FrameReader.h"
#include "TestSupport.h"

#include <QtTest>

namespace {

QByteArray frame(const QByteArray &message)
{
    return '\x0b' + message + "\x1c\r";
}

struct Outcome {
    QList<QByteArray> frames;
    QList<FrameReader::Discard> discards;

    qsizetype dropped(FrameReader::Discard::Reason reason) const
    {
        qsizetype n = 0;
        for (const auto &d : discards)
            if (d.reason == reason)
                n += d.bytes;
        return n;
    }
    int count(FrameReader::Discard::Reason reason) const
    {
        int n = 0;
        for (const auto &d : discards)
            n += d.reason == reason;
        return n;
    }
};

Outcome readAll(FrameReader &reader, const QList<QByteArray> &reads)
{
    Outcome o;
    for (const QByteArray &r : reads) {
        o.frames += reader.feed(r);
        o.discards += reader.takeDiscards();
    }
    return o;
}

} // namespace

class TestFrameReader : public QObject {
    Q_OBJECT
private slots:
    void sameFramesWhereverTheStreamIsCut();
    void cases_data();
    void cases();
    void oversizedFrameNeverGrowsMemory();
    void defaultLimit();
};

void TestFrameReader::sameFramesWhereverTheStreamIsCut()
{
    const QByteArray m1 = "MSH|^~\\&|LAB|||||20240105||ORU^R01|C1|P|2.3\rPID|1||123\rOBX|1|NM|GLU||5.5\r";
    const QByteArray m2 = "MSH|^~\\&|LAB|||||20240105||ORU^R01|C2|P|2.3\r";
    const QByteArray m3 = "MSH|^~\\&|LAB|||||20240105||ORU^R01|C3|P|2.3\rNTE|1||x\r";
    // Garbage before, between (with the line ends a peer may add) and after the frames; the
    // third frame's peer sends no CR after FS.
    const QByteArray stream = "junk" + frame(m1) + "\r\n" + frame(m2) + "zz" + '\x0b' + m3 + '\x1c' + "tail";
    const QList<QByteArray> expected{frame(m1), frame(m2), frame(m3)};

    const auto check = [&](const Outcome &o, const QByteArray &how) {
        QVERIFY2(o.frames == expected, how.constData());
        QVERIFY2(o.dropped(FrameReader::Discard::OutsideFrame) == 10, how.constData()); // junk, zz, tail
        QVERIFY2(o.discards.size() == o.count(FrameReader::Discard::OutsideFrame), how.constData());
    };

    for (qsizetype cut = 0; cut <= stream.size(); ++cut) {
        FrameReader reader;
        check(readAll(reader, {stream.left(cut), stream.mid(cut)}), "cut at " + QByteArray::number(cut));
    }
    for (qsizetype a = 1; a < stream.size(); a += 7) {
        for (qsizetype b = a; b < stream.size(); b += 5) {
            FrameReader reader;
            check(readAll(reader, {stream.left(a), stream.mid(a, b - a), stream.mid(b)}),
                  "cuts at " + QByteArray::number(a) + " and " + QByteArray::number(b));
        }
    }
    QList<QByteArray> bytes;
    for (char c : stream)
        bytes << QByteArray(1, c);
    FrameReader reader;
    check(readAll(reader, bytes), "byte by byte");
    QCOMPARE(reader.pending(), 0);
}

void TestFrameReader::cases_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QList<QByteArray>>("frames");
    QTest::addColumn<QList<int>>("discards"); // reason, bytes, reason, bytes...

    using D = FrameReader::Discard;
    QTest::newRow("several frames in one read")
        << frame("A\r") + frame("B\r") + frame("C\r") << QList<QByteArray>{frame("A\r"), frame("B\r"), frame("C\r")}
        << QList<int>{};
    QTest::newRow("garbage only") << QByteArray("MSH|not framed\r\x1c\r") << QList<QByteArray>{}
                                  << QList<int>{D::OutsideFrame, 15};
    QTest::newRow("line ends between frames are no garbage")
        << frame("A\r") + "\r\n\r\n" + frame("B\r") << QList<QByteArray>{frame("A\r"), frame("B\r")} << QList<int>{};
    QTest::newRow("empty frame") << frame("") + frame("A\r") << QList<QByteArray>{frame("A\r")}
                                 << QList<int>{D::Empty, 2};
    QTest::newRow("frame interrupted by a new VT")
        << QByteArray("\x0bMSH|half") + frame("B\r") << QList<QByteArray>{frame("B\r")}
        << QList<int>{D::Interrupted, 9};
    QTest::newRow("frame not finished yet") << QByteArray("\x0bMSH|") << QList<QByteArray>{} << QList<int>{};
}

void TestFrameReader::cases()
{
    QFETCH(QByteArray, stream);
    QFETCH(QList<QByteArray>, frames);
    QFETCH(QList<int>, discards);
    FrameReader reader;
    const Outcome o = readAll(reader, {stream});
    QCOMPARE(o.frames, frames);
    QList<int> got;
    for (const auto &d : o.discards)
        got << int(d.reason) << int(d.bytes);
    QCOMPARE(got, discards);
}

void TestFrameReader::oversizedFrameNeverGrowsMemory()
{
    const qsizetype limit = 64;
    const QByteArray fits = frame(QByteArray(limit - 3, 'a'));      // exactly the limit
    const QByteArray tooLong = frame(QByteArray(limit - 2, 'b'));   // one byte more
    const QByteArray huge = frame(QByteArray(10 * limit, 'c'));
    const QByteArray after = frame("MSH|after\r");
    const QByteArray stream = fits + tooLong + huge + after;

    for (int chunk : {1, 7, 64, 1000}) {
        FrameReader reader(limit);
        Outcome o;
        for (qsizetype i = 0; i < stream.size(); i += chunk) {
            o.frames += reader.feed(stream.mid(i, chunk));
            o.discards += reader.takeDiscards();
            QVERIFY(reader.pending() <= limit);
        }
        QCOMPARE(o.frames, (QList<QByteArray>{fits, after}));
        QCOMPARE(o.discards.size(), 2);
        QCOMPARE(o.count(FrameReader::Discard::Oversized), 2);
    }
}

void TestFrameReader::defaultLimit()
{
    FrameReader reader;
    QCOMPARE(reader.maxFrameSize(), qsizetype(16 * 1024 * 1024));
    const QByteArray mib(1024 * 1024, 'x');
    QVERIFY(reader.feed("\x0b").isEmpty());
    for (int i = 0; i < 17; ++i) {
        QVERIFY(reader.feed(mib).isEmpty());
        QVERIFY(reader.pending() <= reader.maxFrameSize());
    }
    QVERIFY(reader.feed("\x1c\r").isEmpty());
    const auto d = reader.takeDiscards();
    QCOMPARE(d.size(), 1);
    QCOMPARE(d[0].reason, FrameReader::Discard::Oversized);
    QCOMPARE(reader.feed(frame("A\r")), QList<QByteArray>{frame("A\r")});
}

RELAYON_CORE_TEST_MAIN(TestFrameReader)
#include "tst_framereader.moc"
