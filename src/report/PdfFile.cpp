#include "report/PdfFile.h"

#include <QBuffer>
#include <QDir>
#include <QFont>
#include <QHash>
#include <QPdfWriter>
#include <QRawFont>
#include <QSaveFile>

namespace {

// Radicals whose glyph in the program's Chinese font is an ideograph's, with that ideograph.
QHash<char16_t, char16_t> radicalIdeographs() {
    const QRawFont font = QRawFont::fromFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    QString ideographs;
    for (char16_t u = 0x4E00; u <= 0x9FFF; ++u)
        ideographs += QChar(u);
    const QList<quint32> glyphs = font.glyphIndexesForString(ideographs);
    QHash<quint32, char16_t> ideographOfGlyph;
    for (qsizetype i = 0; i < glyphs.size(); ++i)
        if (glyphs[i]) ideographOfGlyph.insert(glyphs[i], char16_t(0x4E00 + i));
    QString radicals;
    for (char16_t u = 0x2E80; u <= 0x2FDF; ++u)
        radicals += QChar(u);
    QHash<char16_t, char16_t> result;
    const QList<quint32> radicalGlyphs = font.glyphIndexesForString(radicals);
    for (qsizetype i = 0; i < radicalGlyphs.size(); ++i)
        if (const auto it = ideographOfGlyph.constFind(radicalGlyphs[i]);
            radicalGlyphs[i] && it != ideographOfGlyph.cend())
            result.insert(char16_t(0x2E80 + i), *it);
    return result;
}

// A PDF maps each glyph back to the text it shows. Qt takes the lowest code point the font
// gives the glyph, and the Chinese fonts give the glyphs of many common characters to a radical
// as well, so "人页" would read back as "⼈⻚" when copied or searched. This points those maps at
// the ideographs, changing no byte count.
void mapRadicalsToIdeographs(QByteArray& pdf) {
    QHash<char16_t, char16_t> ideographOf;
    // Qt writes its maps as lines "<glyph> <glyph> <code>" and "<first> <last> [<code> <code> ...]".
    for (qsizetype at = pdf.indexOf("beginbfrange"); at >= 0; at = pdf.indexOf("beginbfrange", at)) {
        const qsizetype end = pdf.indexOf("endbfrange", at);
        if (end < 0) break;
        if (ideographOf.isEmpty()) ideographOf = radicalIdeographs();
        for (qsizetype line = pdf.indexOf('\n', at) + 1; line > 0 && line < end;) {
            qsizetype eol = pdf.indexOf('\n', line);
            if (eol < 0 || eol > end) eol = end;
            std::vector<qsizetype> codes; // where each <XXXX> starts
            const qsizetype bracket = pdf.indexOf('[', line);
            for (qsizetype p = pdf.indexOf('<', line); p >= 0 && p + 5 < eol; p = pdf.indexOf('<', p + 1))
                if (pdf[p + 5] == '>') codes.push_back(p);
            std::vector<qsizetype> targets;
            if (bracket >= 0 && bracket < eol) {
                for (qsizetype p : codes)
                    if (p > bracket) targets.push_back(p);
            } else if (codes.size() == 3 && pdf.mid(codes[0], 6) == pdf.mid(codes[1], 6)) {
                targets.push_back(
                    codes[2]); // a range of one glyph; longer ones run through consecutive codes
            }
            for (qsizetype p : targets) {
                bool ok = false;
                const auto code = char16_t(pdf.mid(p + 1, 4).toUShort(&ok, 16));
                if (const auto it = ideographOf.constFind(code); ok && it != ideographOf.cend())
                    pdf.replace(p + 1, 4, QByteArray::number(uint(*it), 16).toUpper());
            }
            line = eol + 1;
        }
        at = end;
    }
}

} // namespace

QString writePdfFile(const QString& path, const QString& title, const QPageLayout& page,
                     const PagePainter& paint) {
    const auto failed = [&](const QString& why) {
        return QStringLiteral("无法写入文件“%1”：%2").arg(QDir::toNativeSeparators(path), why);
    };
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setPageLayout(page);
        if (!paint(pdf)) return failed(QStringLiteral("无法生成PDF"));
    } // the writer ends the file here
    QByteArray bytes = buffer.data();
    mapRadicalsToIdeographs(bytes);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return failed(file.errorString());
    return {};
}
