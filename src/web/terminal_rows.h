#pragma once
// The terminal list as the pages last saw it: each row's entry, the value it was last sent
// and when, with the version at which it last changed, so that a page asks only for the
// rows changed since the version it has (1001 terminals cost a page one full read).

#include <string>
#include <vector>

namespace plx {

class Gateway;

class TerminalRows {
  public:
    // Takes in what changed since the last look; the version moves on when anything did.
    void refresh(Gateway& gateway);
    long long version() const { return version_; }
    // {"version":V,"full":..,"terminals":[...]}: every row when the list itself
    // changed after `since` (a row added, edited or removed), otherwise the rows whose value
    // changed after it.
    std::string json(Gateway& gateway, long long since) const;

  private:
    struct Row {
        std::string entry;
        std::string value;
        long long sentAtMs = 0;
        long long version = 0;
    };
    std::vector<Row> rows_;
    long long version_ = 0;
    long long listVersion_ = 0;
};

}  // namespace plx
