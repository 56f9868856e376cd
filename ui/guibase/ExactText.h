#pragma once
// A plain-text document that holds the text exactly as it was put in.
//
// QTextDocument::toPlainText() turns U+00A0 into a blank and U+2028 and U+2029 into
// line feeds, and inserting text makes every U+2029, carriage return and frame mark
// (U+FDD0, U+FDD1) a paragraph break. A program list's only line separator is the
// line feed, and every other character belongs to its line, so the editor reads and
// writes its text through these functions instead: a paragraph break is a line feed,
// and each of those characters is kept in the document as a marked stand-in that
// reads back as the character. U+2028 is kept that way too: the document would hold
// it, but would show it as a line break, which looks like a line of its own.

#include <QString>
#include <string>

class QTextCharFormat;
class QTextCursor;
class QTextDocument;

// The whole text; one UTF-16 unit for each position of the document.
QString exact_text(const QTextDocument* document);
// The text selected by `cursor`, read in the same way.
QString exact_selected_text(const QTextCursor& cursor);

// Inserts `text` at `cursor`, replacing its selection, as one edit.
void insert_exact_text(QTextCursor& cursor, const QString& text);

// Text typed next to a stand-in takes its format: this drops the mark from a format
// that is about to be typed with, so that a typed character stays what it is.
// True when there was a mark to drop.
bool drop_stand_in_mark(QTextCharFormat* format);

// `text` as the editor shows it, each of those characters as its stand-in: for a
// label, which would draw U+2028 and U+2029 as line breaks.
QString shown_text(QString text);

// UTF-8 to UTF-16 and back, a leading byte-order mark kept as U+FEFF.
QString exact_from_utf8(const std::string& text);
std::string exact_to_utf8(const QString& text);
