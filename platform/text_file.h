// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

// The one text layer of the program: every text file it reads or writes is Windows-1251 with
// CR LF line ends. Readers and writers take a QIODevice so that tests can feed them from a
// buffer or from a device that fails part-way.

QString DecodeCp1251(QByteArrayView bytes);
QByteArray EncodeCp1251(const QString& text);

/// A file a person saved again in a text editor may come back in UTF-8, with or without the
/// byte-order mark Windows editors put first. Such bytes are returned in Windows-1251 (the mark
/// dropped, a character Windows-1251 lacks as "?"), any other bytes as they are; *wasUtf8 says
/// which. Text in Windows-1251 with Russian letters is never valid UTF-8 for long, so its first
/// few kilobytes decide.
QByteArray Cp1251OfEditedText(QByteArray bytes, bool* wasUtf8 = nullptr);

/// Reads a device line by line. A line ends at CR LF; a lone LF is taken as a line end too,
/// and a lone CR stays in the text. The last line may lack its line end.
class Cp1251LineReader {
public:
    explicit Cp1251LineReader(QIODevice* device);

    /// Reads the next line into *line. Returns false at the end of the device (or on a read
    /// error, which error() then reports) and leaves *line empty.
    bool readLine(QString* line);
    bool atEnd() const;
    /// Number of lines read so far (the line just read is number lineNumber()).
    int lineNumber() const { return m_lineNumber; }
    bool error() const { return m_error; }

private:
    QIODevice* m_device;
    int m_lineNumber = 0;
    bool m_error = false;
    QStringDecoder m_decoder{"windows-1251"};
    QByteArray m_buffer;
};

/// Writes lines with CR LF ends and hands every line to the device at once, so that nothing
/// written is lost if the program stops afterwards. Once a write fails every later call fails.
class Cp1251LineWriter {
public:
    explicit Cp1251LineWriter(QIODevice* device);

    bool writeLine(const QString& line);
    /// Writes text without a line end.
    bool write(const QString& text);
    bool ok() const { return !m_error; }
    /// Why the write failed: for a file the operating system's reason (Russian where known),
    /// else the device's own text.
    QString errorString() const;

private:
    bool put(const QByteArray& bytes);

    QIODevice* m_device;
    bool m_error = false;
    int m_systemError = 0; // errno of a file's failed write
};

/// Reads a whole Windows-1251 file into lines; false when it cannot be opened or read.
bool ReadCp1251Lines(const QString& path, QStringList* lines);
/// The input/output error text the program shows for a file it cannot open or write.
QString InputOutputErrorMessage(const QString& path, const QString& detail);
