#pragma once
// The password as the receive log and display may show it: never, whatever the host sends
// back, also when its echo of the password is cut across two reads.

#include <string>

namespace plx {

// What stands for the password wherever it would be shown; the same length whatever the
// password's, so that the length is not told either.
inline const std::string kPasswordMask = "********";

class PasswordMask {
  public:
    // What of this piece of the stream may be shown now: every occurrence of `password`
    // masked, and the piece's last characters that could begin it held back until the next
    // piece says whether they do. Nothing else is hidden; held characters show one read late.
    std::string shown(const std::string& piece, const std::string& password);

    // The stream has ended: what was held back could only have been the password's
    // beginning, so it is shown masked (nothing when nothing was held).
    std::string end();

  private:
    std::string held_;
};

}  // namespace plx
