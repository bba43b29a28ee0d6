#include "hostlink/frame_scanner.h"

namespace plx {

std::vector<std::string> FrameScanner::scan(const std::string& piece) {
    std::vector<std::string> frames;
    for (const char c : piece) {
        if (buffer_.empty()) {
            if (c == '<') buffer_ = "<";
        } else if (buffer_.size() <= kFrameContent) {
            if (c == '<') {
                buffer_ = "<";  // a new frame starts
            } else if (c == '>') {
                buffer_.clear();  // too short
            } else {
                buffer_ += c;
            }
        } else {
            // Full: only ">" completes it; anything else, "<" included, drops it.
            if (c == '>') frames.push_back(buffer_.substr(1));
            buffer_.clear();
        }
    }
    return frames;
}

}  // namespace plx
