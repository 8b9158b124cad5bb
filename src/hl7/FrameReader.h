#pragma once
// The lower-layer framing of the workstation links: bytes in, complete frames out.
//
// A frame is VT, the message, FS and CR. The reader hands out each frame whole, framing
// characters included, however the bytes were cut into reads; several frames in one read come
// out one by one. A frame ends at its FS: the reader hands it out at once with its CR (a peer
// that sends no CR after FS is not left waiting for its acknowledgement), and a CR that does
// follow the FS, in the same read or the next, belongs to that frame.
//
// Dropped and reported (see takeDiscards):
// - bytes outside a frame, except CR and LF between frames;
// - a frame interrupted by a new VT before its FS (its bytes so far);
// - a frame with no message between VT and FS;
// - a frame longer than the limit: dropped as soon as it exceeds the limit, and skipped up to
//   its FS, so memory never holds more than the limit.

#include <QByteArray>
#include <QList>

class FrameReader {
public:
    static constexpr qsizetype kDefaultMaxFrameSize = 16 * 1024 * 1024;
    static constexpr char kVT = 0x0B;
    static constexpr char kFS = 0x1C;
    static constexpr char kCR = 0x0D;
    static constexpr char kLF = 0x0A;

    struct Discard {
        enum Reason { OutsideFrame, Interrupted, Empty, Oversized };
        Reason reason;
        qsizetype bytes; // bytes dropped (for Oversized: the bytes held when the limit was passed)
    };

    // maxFrameSize counts the whole frame, VT to CR.
    explicit FrameReader(qsizetype maxFrameSize = kDefaultMaxFrameSize);

    // Takes the bytes of one read; returns the frames completed by them, in order.
    QList<QByteArray> feed(const QByteArray &data);

    // What was dropped since the last call, in order.
    QList<Discard> takeDiscards();

    // Forgets a partial frame (a link that closes); reports nothing.
    void reset();

    // Bytes held of a frame not yet complete.
    qsizetype pending() const { return m_frame.size(); }
    qsizetype maxFrameSize() const { return m_max; }

private:
    enum class State { Outside, InFrame, Skipping, AfterFS };
    void flushOutside();

    qsizetype m_max;
    State m_state = State::Outside;
    QByteArray m_frame;
    qsizetype m_outside = 0; // garbage bytes not yet reported
    QList<Discard> m_discards;
};
