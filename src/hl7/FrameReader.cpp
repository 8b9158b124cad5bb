#include "FrameReader.h"

FrameReader::FrameReader(qsizetype maxFrameSize)
    : m_max(maxFrameSize < 3 ? 3 : maxFrameSize)
{
}

void FrameReader::flushOutside()
{
    if (m_outside > 0)
        m_discards.append({Discard::OutsideFrame, m_outside});
    m_outside = 0;
}

QList<FrameReader::Discard> FrameReader::takeDiscards()
{
    QList<Discard> d;
    d.swap(m_discards);
    return d;
}

void FrameReader::reset()
{
    m_state = State::Outside;
    m_frame = QByteArray();
    m_outside = 0;
}

QList<QByteArray> FrameReader::feed(const QByteArray &data)
{
    QList<QByteArray> frames;
    const char *const bytes = data.constData();
    const qsizetype n = data.size();
    // The first VT or FS at or after i, or n.
    const auto nextDelimiter = [&](qsizetype i) {
        while (i < n && bytes[i] != kVT && bytes[i] != kFS)
            ++i;
        return i;
    };

    qsizetype i = 0;
    while (i < n) {
        switch (m_state) {
        case State::Outside: {
            qsizetype j = i;
            while (j < n && bytes[j] != kVT) {
                if (bytes[j] != kCR && bytes[j] != kLF)
                    ++m_outside;
                ++j;
            }
            if (j == n) {
                i = n;
                break;
            }
            flushOutside();
            m_frame = QByteArray(1, kVT);
            m_state = State::InFrame;
            i = j + 1;
            break;
        }
        case State::InFrame: {
            const qsizetype j = nextDelimiter(i);
            // With its FS and CR the frame would pass the limit: drop it and skip to its end.
            if (m_frame.size() + (j - i) + 2 > m_max) {
                m_discards.append({Discard::Oversized, m_max});
                m_frame = QByteArray();
                m_state = State::Skipping;
                i = j;
                break;
            }
            m_frame.append(bytes + i, j - i);
            i = j;
            if (j == n)
                break;
            if (bytes[j] == kVT) {
                m_discards.append({Discard::Interrupted, m_frame.size()});
                m_frame = QByteArray(1, kVT);
                i = j + 1;
                break;
            }
            // FS: the frame is complete.
            if (m_frame.size() == 1) {
                m_discards.append({Discard::Empty, 2});
            } else {
                m_frame.append(kFS);
                m_frame.append(kCR);
                frames.append(m_frame);
            }
            m_frame = QByteArray();
            m_state = State::AfterFS;
            i = j + 1;
            break;
        }
        case State::Skipping: {
            const qsizetype j = nextDelimiter(i);
            i = j;
            if (j == n)
                break;
            if (bytes[j] == kVT) {
                m_frame = QByteArray(1, kVT);
                m_state = State::InFrame;
            } else {
                m_state = State::AfterFS;
            }
            i = j + 1;
            break;
        }
        case State::AfterFS:
            if (bytes[i] == kCR)
                ++i;
            m_state = State::Outside;
            break;
        }
    }
    flushOutside();
    return frames;
}
