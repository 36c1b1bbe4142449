// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/moodlexml/html_text.h"

#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// HTML's named character references: a name stands for one or two characters.
struct NamedReference {
    const char* name; // "amp;", and "amp" for the old names a browser reads without ";"
    char32_t first;
    char32_t second; // 0 for a name of one character
};

const NamedReference kNamedReferences[] = {
#include "tools/moodlexml/html5_entities.inc"
};

const NamedReference* FindNamedReference(const QByteArray& name) {
    const auto end = std::end(kNamedReferences);
    const auto found = std::lower_bound(std::begin(kNamedReferences), end, name,
                                        [](const NamedReference& entry, const QByteArray& key) {
                                            return std::strcmp(entry.name, key.constData()) < 0;
                                        });
    return found != end && name == found->name ? found : nullptr;
}

// The named reference whose name begins at text[from] (after its "&"), as a browser reads it:
// the name with ";", or else the longest old name without it (in an attribute only when no letter,
// digit or "=" follows it). *length is the characters it takes; null when there is none.
const NamedReference* NamedReferenceAt(const QString& text, qsizetype from, bool inAttribute,
                                       qsizetype* length) {
    constexpr qsizetype kLongestName = 32;
    qsizetype end = from;
    while (end < text.size() && end - from <= kLongestName && text[end].unicode() < 0x80 &&
           text[end].isLetterOrNumber())
        ++end;
    const QByteArray word = text.mid(from, end - from).toLatin1();
    if (word.isEmpty())
        return nullptr;
    if (end < text.size() && text[end] == u';') {
        if (const NamedReference* found = FindNamedReference(word + ';')) {
            *length = word.size() + 1;
            return found;
        }
    }
    if (inAttribute) {
        const bool free = end == text.size() || text[end] != u'=';
        const NamedReference* found = free ? FindNamedReference(word) : nullptr;
        *length = word.size();
        return found;
    }
    for (qsizetype n = word.size(); n > 0; --n) {
        if (const NamedReference* found = FindNamedReference(word.left(n))) {
            *length = n;
            return found;
        }
    }
    return nullptr;
}

const QString kPluginFile = QStringLiteral("@@PLUGINFILE@@/");

// A character of the text being built: a blank that came from "&nbsp;" is kept as it is.
struct Piece {
    QChar c;
    bool hard;
};

bool IsSoftSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// A character of category Cc (C0 and C1 controls, DEL) never goes into a text.
bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Decodes the reference at text[i] ("&name;", the old names without ";" as "&copy", "&#NNN;",
// "&#xHH;"); returns the characters and moves i past it, or gives "&" alone when it is not a
// reference. A line break or tab, by name or number, is white space; other control characters are
// dropped.
QString Reference(const QString& text, qsizetype* i, bool* nbsp, bool inAttribute = false) {
    *nbsp = false;
    if (*i + 1 < text.size() && text[*i + 1] != u'#') {
        qsizetype length = 0;
        const NamedReference* named = NamedReferenceAt(text, *i + 1, inAttribute, &length);
        if (named == nullptr) {
            ++*i;
            return QStringLiteral("&");
        }
        *i += 1 + length;
        if (named->second != 0) {
            const char32_t pair[] = {named->first, named->second};
            return QString::fromUcs4(pair, 2);
        }
        const char32_t c = named->first;
        if (c == 0xA0) {
            *nbsp = true; // "&nbsp;" is a blank that is never collapsed
            return QStringLiteral(" ");
        }
        if (c < 0x80 && IsSoftSpace(QChar(char16_t(c))))
            return QStringLiteral(" ");
        return IsControl(c) ? QString() : QString::fromUcs4(&c, 1);
    }
    const qsizetype end = text.indexOf(u';', *i);
    if (end < 0 || end - *i > 10) {
        ++*i;
        return QStringLiteral("&");
    }
    const QString name = text.mid(*i + 1, end - *i - 1);
    QString result;
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code =
            name.startsWith(QStringLiteral("#x")) || name.startsWith(QStringLiteral("#X"))
                ? name.mid(2).toUInt(&ok, 16)
                : name.mid(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF) {
            const char32_t c = code;
            if (c < 0x80 && IsSoftSpace(QChar(char16_t(c)))) {
                result =
                    QStringLiteral(" "); // a line break or tab written by its number is white space
            } else if (IsControl(c)) {
                *i = end + 1; // dropped: a control character has no place in a question file
                return QString();
            } else {
                *nbsp = true; // a character written by its number is kept as it is
                result = QString::fromUcs4(&c, 1);
            }
        }
    }
    if (result.isEmpty()) {
        ++*i;
        return QStringLiteral("&");
    }
    *i = end + 1;
    return result;
}

QString Attribute(const QString& tag, const QString& name) {
    const QRegularExpression pattern(
        QStringLiteral("\\s%1\\s*=\\s*(\"([^\"]*)\"|'([^']*)'|([^\\s>]+))").arg(name),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(tag);
    if (!match.hasMatch())
        return QString();
    QString value = match.captured(2) + match.captured(3) + match.captured(4);
    // Attribute values carry character references too.
    QString decoded;
    for (qsizetype i = 0; i < value.size();) {
        if (value[i] == u'&') {
            bool nbsp = false;
            decoded += Reference(value, &i, &nbsp, true);
        } else {
            decoded += value[i++];
        }
    }
    return decoded;
}

// Closes the paragraph being built: soft blanks collapsed and dropped at both ends.
void EndParagraph(QList<Piece>* pieces, QStringList* paragraphs) {
    QString text;
    bool pendingBlank = false;
    for (const Piece& piece : *pieces) {
        if (!piece.hard && IsSoftSpace(piece.c)) {
            pendingBlank = !text.isEmpty();
            continue;
        }
        if (pendingBlank)
            text += u' ';
        pendingBlank = false;
        text += piece.c;
    }
    if (!text.isEmpty())
        paragraphs->append(text);
    pieces->clear();
}

// Block elements and <br>: each ends the paragraph before it.
bool IsBlockTag(const QString& name) {
    static const QStringList blocks{
        QStringLiteral("p"),     QStringLiteral("div"), QStringLiteral("br"),
        QStringLiteral("li"),    QStringLiteral("ul"),  QStringLiteral("ol"),
        QStringLiteral("table"), QStringLiteral("h1"),  QStringLiteral("h2"),
        QStringLiteral("h3"),    QStringLiteral("h4"),  QStringLiteral("blockquote"),
        QStringLiteral("pre"),   QStringLiteral("hr")};
    return blocks.contains(name);
}

// What has been read of an HTML text so far.
struct HtmlReading {
    HtmlContent content;
    QList<Piece> pieces;      // of the paragraph being built
    QString skipUntil;        // inside <script> or <style>, or the caption of a link to a file
    int tableRows = 0;        // rows of the table being read so far
    int rowCells = 0;         // cells of its row so far
    QList<qsizetype> scripts; // where each open <sup> or <sub> began in pieces
};

void Append(HtmlReading* reading, const QString& text) {
    for (const QChar c : text)
        reading->pieces.append({c, false});
}

// A table reads row by row in one paragraph: "Страна | Столица; Франция | Париж".
void TakeTableTag(const QString& name, bool closing, HtmlReading* reading) {
    if (closing)
        return;
    if (name == QStringLiteral("table")) {
        reading->tableRows = 0;
    } else if (name == QStringLiteral("tr")) {
        if (reading->tableRows++ > 0)
            Append(reading, QStringLiteral("; "));
        reading->rowCells = 0;
    } else if (reading->rowCells++ > 0) {
        Append(reading, QStringLiteral(" | "));
    }
}

// Superscripts and subscripts as "10^3", "H_2O"; a script of more than letters and digits in
// brackets: "10^(-3)".
void TakeScriptTag(const QString& name, bool closing, HtmlReading* reading) {
    if (!closing) {
        reading->scripts.append(reading->pieces.size());
        return;
    }
    if (reading->scripts.isEmpty())
        return;
    const qsizetype begin = std::min(reading->scripts.takeLast(), reading->pieces.size());
    bool plain = begin < reading->pieces.size();
    for (qsizetype k = begin; k < reading->pieces.size(); ++k)
        plain = plain && reading->pieces[k].c.isLetterOrNumber();
    const QChar mark = name == QStringLiteral("sup") ? u'^' : u'_';
    if (begin == reading->pieces.size())
        return;
    if (plain) {
        reading->pieces.insert(begin, {mark, false});
    } else {
        reading->pieces.insert(begin, {u'(', false});
        reading->pieces.insert(begin, {mark, false});
        reading->pieces.append({u')', false});
    }
}

// Takes the pictures, files and links an opening tag shows or links to.
void TakeTagFiles(const QString& name, const QString& tag, HtmlReading* reading) {
    HtmlContent& content = reading->content;
    if (name == QStringLiteral("img"))
        content.images << Attribute(tag, QStringLiteral("src"));
    else if (name == QStringLiteral("a") && !Attribute(tag, QStringLiteral("href")).isEmpty()) {
        content.links << Attribute(tag, QStringLiteral("href"));
        // A link to an embedded file stands for the file: its caption is not text.
        if (!PluginFileName(content.links.constLast()).isEmpty())
            reading->skipUntil = name;
    } else if ((name == QStringLiteral("video") || name == QStringLiteral("source") ||
                name == QStringLiteral("embed")) &&
               !Attribute(tag, QStringLiteral("src")).isEmpty())
        content.links << Attribute(tag, QStringLiteral("src"));
}

// Reads the tag or comment at html[*i] and moves past it; false when the tag never ends.
bool ReadTag(const QString& html, qsizetype* i, HtmlReading* reading) {
    if (html.mid(*i, 4) == QStringLiteral("<!--")) {
        const qsizetype end = html.indexOf(QStringLiteral("-->"), *i + 4);
        *i = end < 0 ? html.size() : end + 3;
        return true;
    }
    const qsizetype end = html.indexOf(u'>', *i);
    if (end < 0)
        return false;
    const QString tag = html.mid(*i, end - *i + 1);
    *i = end + 1;
    static const QRegularExpression nameOf(QStringLiteral("^</?\\s*([A-Za-z0-9]+)"));
    const QString name = nameOf.match(tag).captured(1).toLower();
    const bool closing = tag.startsWith(QStringLiteral("</"));
    if (!reading->skipUntil.isEmpty()) {
        if (closing && name == reading->skipUntil)
            reading->skipUntil.clear();
        return true;
    }
    if (!closing && (name == QStringLiteral("script") || name == QStringLiteral("style"))) {
        reading->skipUntil = name;
        return true;
    }
    if (IsBlockTag(name)) {
        EndParagraph(&reading->pieces, &reading->content.paragraphs);
        reading->scripts.clear();
    }
    if (name == QStringLiteral("table") || name == QStringLiteral("tr") ||
        name == QStringLiteral("td") || name == QStringLiteral("th"))
        TakeTableTag(name, closing, reading);
    else if (name == QStringLiteral("sup") || name == QStringLiteral("sub"))
        TakeScriptTag(name, closing, reading);
    if (!closing)
        TakeTagFiles(name, tag, reading);
    return true;
}

} // namespace

HtmlContent ParseHtml(const QString& html) {
    HtmlReading reading;
    for (qsizetype i = 0; i < html.size();) {
        const QChar c = html[i];
        if (c == u'<') {
            if (!ReadTag(html, &i, &reading))
                break;
        } else if (!reading.skipUntil.isEmpty()) {
            ++i;
        } else if (c == u'&') {
            bool nbsp = false;
            const QString decoded = Reference(html, &i, &nbsp);
            for (const QChar d : decoded)
                reading.pieces.append({d, nbsp});
        } else {
            if (!IsControl(c.unicode()) || IsSoftSpace(c))
                reading.pieces.append({c, false});
            ++i;
        }
    }
    EndParagraph(&reading.pieces, &reading.content.paragraphs);
    return reading.content;
}

QString EscapedForHtml(const QString& text) {
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u' ') {
            const bool single = i > 0 && i + 1 < text.size() && !IsSoftSpace(text[i - 1]) &&
                                !IsSoftSpace(text[i + 1]);
            out += single ? QStringLiteral(" ") : QStringLiteral("&nbsp;");
        } else if (IsSoftSpace(c)) {
            out += QStringLiteral("&#%1;").arg(c.unicode());
        } else if (c == u'&') {
            out += QStringLiteral("&amp;");
        } else if (c == u'<') {
            out += QStringLiteral("&lt;");
        } else if (c == u'>') {
            out += QStringLiteral("&gt;");
        } else if (c == u'"') {
            out += QStringLiteral("&quot;");
        } else {
            out += c;
        }
    }
    return out;
}

QString PluginFileUrl(const QString& fileName) {
    return kPluginFile + QString::fromLatin1(QUrl::toPercentEncoding(fileName));
}

QString PluginFileName(const QString& url) {
    if (!url.startsWith(kPluginFile))
        return QString();
    QString name = QUrl::fromPercentEncoding(url.mid(kPluginFile.size()).toUtf8());
    const qsizetype query = name.indexOf(u'?');
    if (query >= 0)
        name.truncate(query);
    return name;
}
