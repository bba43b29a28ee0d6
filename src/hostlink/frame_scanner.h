#pragma once
// Cuts the display command frames, "<" + nine characters other than "<" and ">" + ">",
// out of the host's raw screen output.

#include <string>
#include <vector>

namespace plx {

class FrameScanner {
  public:
    static constexpr std::size_t kFrameContent = 9;  // characters between the brackets

    // Scans the next piece of the stream and returns the nine characters of every frame
    // completed in it, in stream order. An unfinished frame at the end of the piece (at
    // most "<" and nine characters) is kept and completed by the next piece, so frames
    // survive however the transport splits the stream.
    std::vector<std::string> scan(const std::string& piece);

    // Forgets the unfinished frame (a new connection starts a new stream).
    void reset() {
        state_ = State::Outside;
        content_.clear();
    }

  private:
    // Where the scan stands between two characters.
    enum class State {
        Outside,  // no frame begun
        Opened,   // after "<": fewer than nine characters of it so far
        Full,     // "<" and nine characters: only ">" may follow
    };
    State state_ = State::Outside;
    std::string content_;  // the characters after "<" so far
};

}  // namespace plx
