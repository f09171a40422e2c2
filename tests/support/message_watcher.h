// Finds the program's message dialogs in this process, notes their two lines and
// presses OK, as a user would; for tests that call operations which report failures.
#pragma once
#include <string>
#include <vector>

struct SeenMessage {
    std::string chinese;    // the window text of control 1013, as ANSI bytes
    std::string english;    // the window text of static 1028
};

void StartMessageWatcher();
std::vector<SeenMessage> TakeSeenMessages();
