// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text_file.h"

#include <algorithm>

#include <QFile>
#include <QFileDevice>
#include <QStringList>
#include <cerrno>

#include "platform/regular_file.h"

namespace {
constexpr const char* kCodePage = "windows-1251";
}

QString DecodeCp1251(QByteArrayView bytes) {
    QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}

QByteArray EncodeCp1251(const QString& text) {
    QStringEncoder encoder(kCodePage);
    return encoder.encode(text);
}

QByteArray Cp1251OfEditedText(QByteArray bytes, bool* wasUtf8) {
    static constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
    bool utf8 = bytes.startsWith(kByteOrderMark);
    if (utf8) {
        bytes.remove(0, 3);
    } else {
        const QByteArrayView head =
            QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), 4096));
        const bool plainAscii =
            std::all_of(head.begin(), head.end(), [](char c) { return (uchar(c) & 0x80) == 0; });
        if (!plainAscii) {
            QStringDecoder probe(QStringDecoder::Utf8); // a sequence cut at the end is no error
            const QString decoded = probe.decode(head);
            utf8 = !probe.hasError();
        }
    }
    if (wasUtf8 != nullptr)
        *wasUtf8 = utf8;
    if (!utf8)
        return bytes;
    QStringEncoder encoder(kCodePage, QStringEncoder::Flag::Default);
    return encoder.encode(QString::fromUtf8(bytes));
}

Cp1251LineReader::Cp1251LineReader(QIODevice* device) : m_device(device) {}

bool Cp1251LineReader::atEnd() const {
    return m_device == nullptr || m_device->atEnd();
}

bool Cp1251LineReader::readLine(QString* line) {
    line->clear();
    if (m_device == nullptr || m_device->atEnd())
        return false;
    qsizetype used = 0;
    for (;;) {
        if (m_buffer.size() - used < 256)
            m_buffer.resize(used + 4096);
        const qint64 n = m_device->readLine(m_buffer.data() + used, m_buffer.size() - used);
        if (n <= 0)
            break;
        used += n;
        if (m_buffer[used - 1] == '\n')
            break;
    }
    if (used == 0) {
        m_error = !m_device->atEnd();
        return false;
    }
    if (m_buffer[used - 1] == '\n') {
        --used;
        if (used > 0 && m_buffer[used - 1] == '\r')
            --used;
    }
    *line = m_decoder.decode(QByteArrayView(m_buffer.constData(), used));
    ++m_lineNumber;
    return true;
}

Cp1251LineWriter::Cp1251LineWriter(QIODevice* device) : m_device(device) {}

bool Cp1251LineWriter::put(const QByteArray& bytes) {
    if (m_error || m_device == nullptr) {
        m_error = true;
        return false;
    }
    // A file's failure is told by the operating system's code, taken at once.
    auto* file = qobject_cast<QFileDevice*>(m_device);
    errno = 0;
    if (m_device->write(bytes) != bytes.size() || (file != nullptr && !file->flush())) {
        m_error = true;
        m_systemError = file != nullptr ? errno : 0;
        return false;
    }
    return true;
}

bool Cp1251LineWriter::writeLine(const QString& line) {
    return put(EncodeCp1251(line) + "\r\n");
}

bool Cp1251LineWriter::write(const QString& text) {
    return put(EncodeCp1251(text));
}

QString Cp1251LineWriter::errorString() const {
    if (m_systemError != 0)
        return SystemErrorText(m_systemError);
    if (m_device == nullptr)
        return QStringLiteral("нет файла для записи");
    const QString text = m_device->errorString();
    return text.isEmpty() || text == QLatin1String("Unknown error")
               ? QStringLiteral("система не сообщила причину")
               : text;
}

bool ReadCp1251Lines(const QString& path, QStringList* lines) {
    lines->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    Cp1251LineReader reader(&file);
    QString line;
    while (reader.readLine(&line))
        lines->append(line);
    return !reader.error();
}

QString InputOutputErrorMessage(const QString& path, const QString& detail) {
    return QStringLiteral("Ошибка ввода-вывода: %1 (%2)").arg(path, detail);
}
