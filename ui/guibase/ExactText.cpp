#include "ui/guibase/ExactText.h"

#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The characters a document cannot hold as such, and what it shows in their place.
struct TStandIn {
    char16_t character;
    char16_t shown;
};
constexpr TStandIn kStandIns[] = {
    {0x2029, 0x00B6},  // paragraph separator: pilcrow
    {0x2028, 0x21B5},  // line separator: a return arrow, not a break that looks like a new line
    {u'\r', 0x240D},   // carriage return: its control picture
    {0xFDD0, 0xFFFD},  // the document's frame marks
    {0xFDD1, 0xFFFD},
};
// The character property of a stand-in: the character it stands for.
constexpr int kStandInProperty = QTextFormat::UserProperty + 0x2029;

const TStandIn* stand_in_for(char16_t character)
{
    for (const TStandIn& standIn : kStandIns)
        if (standIn.character == character) return &standIn;
    return nullptr;
}

// A fragment of stand-ins: text typed right after one takes its format too, so
// only the shown character itself reads back as the original.
void restore_stand_ins(QString& part, int original)
{
    const TStandIn* standIn = stand_in_for(static_cast<char16_t>(original));
    if (standIn) part.replace(QChar(standIn->shown), QChar(standIn->character));
}

// The text between positions `from` and `to` of `document`.
QString text_between(const QTextDocument* document, int from, int to)
{
    QString text;
    text.reserve(to - from);
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        if (block.position() > from) text += u'\n';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(fragment.position(), from);
            const int end = std::min(fragment.position() + fragment.length(), to);
            if (start >= end) continue;
            QString part = fragment.text().mid(start - fragment.position(), end - start);
            const int original = fragment.charFormat().intProperty(kStandInProperty);
            if (original != 0) restore_stand_ins(part, original);
            text += part;
        }
    }
    return text;
}

}  // namespace

QString exact_text(const QTextDocument* document)
{
    return text_between(document, 0, document->characterCount() - 1);
}

QString exact_selected_text(const QTextCursor& cursor)
{
    return text_between(cursor.document(), cursor.selectionStart(), cursor.selectionEnd());
}

void insert_exact_text(QTextCursor& cursor, const QString& text)
{
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    QTextCharFormat plain = cursor.charFormat();
    plain.clearProperty(kStandInProperty);
    qsizetype run = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const TStandIn* standIn = i < text.size() ? stand_in_for(text.at(i).unicode()) : nullptr;
        if (i < text.size() && !standIn) continue;
        // Line feeds become paragraph breaks; nothing else is converted.
        if (i > run) cursor.insertText(text.mid(run, i - run), plain);
        if (standIn) {
            QTextCharFormat marked = plain;
            marked.setProperty(kStandInProperty, static_cast<int>(standIn->character));
            cursor.insertText(QString(QChar(standIn->shown)), marked);
        }
        run = i + 1;
    }
    cursor.endEditBlock();
}

bool drop_stand_in_mark(QTextCharFormat* format)
{
    if (!format->hasProperty(kStandInProperty)) return false;
    format->clearProperty(kStandInProperty);
    return true;
}

QString shown_text(QString text)
{
    for (const TStandIn& standIn : kStandIns) text.replace(QChar(standIn.character), QChar(standIn.shown));
    return text;
}

QString exact_from_utf8(const std::string& text)
{
    // QString::fromUtf8 would drop a leading byte-order mark.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

std::string exact_to_utf8(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}
