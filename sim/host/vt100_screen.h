#pragma once
// The text a VT100 shows after the host's screen output: an 80 by 24 grid fed with the
// cursor positioning, clears and printable characters our host paints. Attributes change
// no text and are passed over, as are other escape sequences.

#include <QByteArray>
#include <QStringList>
#include <vector>

namespace plx::sim {

class Vt100Screen {
  public:
    static constexpr int kRows = 24;
    static constexpr int kColumns = 80;

    Vt100Screen();

    void feed(const QByteArray& bytes);
    // The rows of the screen, trailing blanks removed.
    QStringList rows() const;
    // Every row joined by line ends, for a plain text view.
    QString text() const { return rows().join('\n'); }

  private:
    void print(char c);
    void control(char final);
    void clearAll();

    // Where the reading of the output stands: text, after ESC, inside ESC [ ... final.
    enum class Reading { Text, Escape, Sequence };

    std::vector<QByteArray> grid_;
    int row_ = 0;
    int column_ = 0;
    Reading reading_ = Reading::Text;
    QByteArray parameters_;
};

}  // namespace plx::sim
