// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Speech: the window's announcements as lines of a live region, which screen
// readers speak, and the keys they hear, which make the announcements wait.
#include "page_layer_class.h"

#include "announcements.h"

#include <string>

namespace page
{

void PageLayer::add_live_region()
{
    live = document().call<val>("createElement", std::string("div"));
    live.call<void>("setAttribute", std::string("role"), std::string("status"));
    live.call<void>("setAttribute", std::string("aria-atomic"), std::string("false"));
    live.call<void>("setAttribute", std::string("aria-relevant"), std::string("additions"));
    root.call<void>("appendChild", live);
}

void PageLayer::say(const QString& utterance)
{
    // Each utterance comes as a line of its own, which a screen reader finds
    // in the event that tells it of the line: one that reads the region's
    // whole text when it gets round to it would miss an utterance followed
    // quickly by the next. Old lines go once they are long said.
    val line = document().call<val>("createElement", std::string("p"));
    line.set("textContent", utf8(utterance));
    live.call<void>("appendChild", line);
    while (live["childElementCount"].as<int>() > 3)
        live["firstElementChild"].call<void>("remove");
}

void PageLayer::key_heard()
{
    // A screen reader stops speaking at every key and says what the key did;
    // the window's announcements wait for that as they do on the desktop,
    // where they see the key themselves.
    if (announcements)
        announcements->key_pressed();
}

} // namespace page
