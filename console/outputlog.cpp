#include "console/outputlog.h"

#include "console/outputbox.h"

void OutputLog::clear()
{
    m_box.setText(QStringView());
}

void OutputLog::append(const QString &piece)
{
    m_box.setText(m_box.text() + piece);
}

void OutputLog::refresh()
{
    m_box.repaint();
}
