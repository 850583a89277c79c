#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vormex::test {

// A small terminal for what the progress display writes: text that wraps at the right edge
// (kana, kanji and full-width forms two columns wide), CR, LF, cursor up and down, erase line and
// erase below. Lines that scroll off the top go to the scrollback; so does the whole screen when
// it is cleared from its top corner, as tmux does ("scroll-on-clear").
class TerminalScreen {
public:
    TerminalScreen(int columns, int rows);
    void write(const QByteArray& bytes);
    // The scrollback, then the screen, without trailing blanks or blank lines at the end.
    QStringList lines() const;

private:
    void lineFeed();
    void put(char32_t c, int width);
    void control(int number, char command, bool hasNumber);

    int columns_, rows_;
    QStringList screen_;  // each row padded to `columns_` cells
    QStringList scrollback_;
    int row_ = 0, column_ = 0;
    bool pendingWrap_ = false;
};

}  // namespace vormex::test
