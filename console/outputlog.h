// The three operations through which a run reports: clear the output box,
// append a piece to its text, and repaint it at once.
//
// The box's text is the log; nothing else holds a copy. Every append reads
// the whole text back and writes the whole text again, exactly as a caller
// sees it when it reads the box in between.
#pragma once

#include <QString>

class OutputBox;

class OutputLog
{
public:
    explicit OutputLog(OutputBox &box) : m_box(box) {}

    void clear();
    // Adds the piece as it is: no line end, blank or separator of its own.
    void append(const QString &piece);
    // Paints the box's current text on the screen before returning. Handles
    // no input and runs no other event, so a run stays uninterrupted.
    void refresh();

private:
    OutputBox &m_box;
};
