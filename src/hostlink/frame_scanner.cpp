#include "hostlink/frame_scanner.h"

namespace plx {

std::vector<std::string> FrameScanner::scan(const std::string& piece) {
    std::vector<std::string> frames;
    for (const char c : piece) {
        switch (state_) {
            case State::Outside:
                // Only "<" begins a frame.
                if (c == '<') state_ = State::Opened;
                break;
            case State::Opened:
                if (c == '<') {
                    content_.clear();  // a new frame starts
                } else if (c == '>') {
                    reset();  // too short
                } else {
                    content_ += c;
                    if (content_.size() == kFrameContent) state_ = State::Full;
                }
                break;
            case State::Full:
                // Only ">" completes it; anything else, "<" included, drops it.
                if (c == '>') frames.push_back(content_);
                reset();
                break;
        }
    }
    return frames;
}

}  // namespace plx
