#pragma once
// The one reader and writer of the data files (settings, scores, saved games). Every file is a
// run of QDataStream values at the library's default version: big-endian 32-bit integers, a
// bool as one byte, a QChar as two bytes, a double as eight, a QString as a 32-bit byte count
// and UTF-16 big-endian code units (0xFFFFFFFF for a null text).
//
// A record is described once, as a template over the stream direction:
//
//     template <class Io> void streamThing(Io &io, Thing &t)
//     {
//         io.int32(t.count, 0, 10);
//         io.flag(t.enabled);
//         io.text(t.name, 19);
//     }
//
// RecordWriter writes the values as they stand (the bounds are for the reader); RecordReader
// reads them back and refuses the record at the first value that is missing, malformed or out
// of its bounds. After a refusal it reads nothing more.

#include <QByteArray>
#include <QChar>
#include <QDataStream>
#include <QString>
#include <QtGlobal>

#include <array>
#include <limits>

// Longest path a data file keeps (the saved game's map path, the last save file).
constexpr int kMaxStoredPathLength = 4096;
// Texts are stored cut to 19 characters.
constexpr int kStoredTextLength = 19;

// A text as the files keep it: one line, cut to 19 without parting a character.
QString cutStoredText(const QString &text);

// A one-byte 'j'/'n' character as the files keep it: the byte taken as signed, widened to 16.
QChar widenedChar(char c);
// The byte back from its widened form; false when the code is not a widened byte.
bool narrowedChar(QChar code, char &c);

class RecordReader {
public:
    explicit RecordReader(const QByteArray &bytes);

    bool ok() const { return !refused_ && stream_.status() == QDataStream::Ok; }
    bool atEnd() const { return stream_.atEnd(); }
    // The bytes ran out in the middle of a value.
    bool ranOut() const { return stream_.status() == QDataStream::ReadPastEnd; }
    // Bytes read so far.
    qint64 position() const;
    void refuse() { refused_ = true; }

    void int32(qint32 &value, qint32 low = std::numeric_limits<qint32>::min(),
               qint32 high = std::numeric_limits<qint32>::max());
    // A bool byte: strict refuses anything but 0 and 1; lenient takes any other byte as set.
    void flag(quint8 &value, bool strict = true);
    // A 'j'/'n' character (or any widened byte when `allowed` is null).
    void character(char &value, const char *allowed = "jn");
    void rawChar(QChar &value);
    void real(double &value);
    void text(QString &value, int maxLength = kStoredTextLength);

    template <size_t N>
    void int32s(std::array<qint32, N> &values, int first, int last,
                qint32 low = std::numeric_limits<qint32>::min(),
                qint32 high = std::numeric_limits<qint32>::max())
    {
        for (int i = first; i <= last; ++i)
            int32(values[i], low, high);
    }
    template <size_t N>
    void flags(std::array<quint8, N> &values, int first, int last)
    {
        for (int i = first; i <= last; ++i)
            flag(values[i]);
    }
    template <size_t N>
    void texts(std::array<QString, N> &values, int first, int last, int maxLength = kStoredTextLength)
    {
        for (int i = first; i <= last; ++i)
            text(values[i], maxLength);
    }

private:
    QDataStream stream_;
    bool refused_ = false;
};

class RecordWriter {
public:
    // Writes into `bytes`, which grows as values are written.
    explicit RecordWriter(QByteArray *bytes);

    bool ok() const { return stream_.status() == QDataStream::Ok; }

    void int32(const qint32 &value, qint32 = 0, qint32 = 0) { stream_ << value; }
    void flag(const quint8 &value, bool = true) { stream_ << static_cast<qint8>(value != 0); }
    void character(const char &value, const char * = nullptr) { stream_ << widenedChar(value); }
    void rawChar(const QChar &value) { stream_ << value; }
    void real(const double &value) { stream_ << value; }
    void text(const QString &value, int = 0) { stream_ << value; }

    template <size_t N>
    void int32s(const std::array<qint32, N> &values, int first, int last, qint32 = 0, qint32 = 0)
    {
        for (int i = first; i <= last; ++i)
            int32(values[i]);
    }
    template <size_t N>
    void flags(const std::array<quint8, N> &values, int first, int last)
    {
        for (int i = first; i <= last; ++i)
            flag(values[i]);
    }
    template <size_t N>
    void texts(const std::array<QString, N> &values, int first, int last, int = 0)
    {
        for (int i = first; i <= last; ++i)
            text(values[i]);
    }

private:
    QDataStream stream_;
};
