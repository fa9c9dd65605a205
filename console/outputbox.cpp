#include "console/outputbox.h"

#include <QScrollBar>

OutputBox::OutputBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void OutputBox::setText(QStringView text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    m_text = (nul < 0 ? text : text.first(nul)).toString();
    setPlainText(m_text);
    moveCursor(QTextCursor::Start);
    verticalScrollBar()->setValue(0);
}
