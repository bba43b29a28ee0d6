// The event log's pure rule: how urgent a line is in the journal.
#include <gtest/gtest.h>

#include "eventlog/journal_priority.h"

namespace plx {
namespace {

// What `journalctl -p warning` shows: a link that fails and data that is lost, not routine.
TEST(JournalPriority, FollowsWhatTheEventMeans) {
    using enum JournalPriority;
    const struct {
        const char* mode;
        const char* text;
        JournalPriority priority;
    } rows[] = {
        {"Status", "Error: TLS: The certificate is self-signed, and untrusted", Warning},
        {"Status", "Reset connection by Watchdog", Warning},
        {"Status", "Connected", Info},
        {"Warning", "Products.cfg could not be written, the previous file is kept", Error},
        {"Warning", "The log file cannot be written: /plant/Plyxen400_05-12-2026.LOG", Error},
        {"Warning", "<><F1234  0> The product number 0999 does not exist !", Warning},
        {"TEST", "Error: only the link's statuses", Info},
    };
    for (const auto& row : rows)
        EXPECT_EQ(journalPriority(row.mode, row.text), row.priority) << row.text;
}

}  // namespace
}  // namespace plx
