#include "console/outputbox.h"

#include <QScrollBar>

OutputBox::OutputBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Nobody can type here, so there is nothing to undo; without this every
    // append would also be kept in the undo history.
    setUndoRedoEnabled(false);
}

void OutputBox::setText(QStringView text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    const QStringView kept = nul < 0 ? text : text.first(nul);

    // Almost every write is an append: the old text with a piece behind it.
    // Only the piece then goes into the document, so the lines already there
    // are not laid out again. A CR ending the old text and an LF starting the
    // piece are one line end in the whole text but two apart, so that case is
    // written whole.
    const bool appends = kept.size() > m_text.size() && kept.startsWith(m_text)
                         && !(m_text.endsWith(u'\r') && kept[m_text.size()] == u'\n');
    if (appends) {
        QTextCursor end(document());
        end.movePosition(QTextCursor::End);
        end.insertText(kept.sliced(m_text.size()).toString());
        m_text = kept.toString();
    } else if (kept != m_text) {
        m_text = kept.toString();
        setPlainText(m_text);
    }
    moveCursor(QTextCursor::Start);
    verticalScrollBar()->setValue(0);
}
