// What the input router answered, as one line of text: readable in a table and in a failure.
#pragma once

#include <string>

#include "input_router.h"
#include "vocabulary.h"

namespace sinkaway {

inline std::string Text(InputRouter::Outcomes outcomes) {
    std::string text;
    for (const InputOutcome& o : outcomes) {
        if (!text.empty())
            text += ", ";
        switch (o.kind) {
            case InputOutcome::Kind::kClick:
                text += std::string("click ") + ClickTargetName(o.target);
                break;
            case InputOutcome::Kind::kKeyDown:
                text += "down " + std::to_string(o.vk);
                break;
            case InputOutcome::Kind::kKeyUp:
                text += "up " + std::to_string(o.vk);
                break;
            case InputOutcome::Kind::kFocus:
                text += "focus";
                break;
            case InputOutcome::Kind::kPressed:
                text += "pressed";
                break;
            case InputOutcome::Kind::kPause:
                text += "pause";
                break;
            case InputOutcome::Kind::kResume:
                text += "resume";
                break;
            case InputOutcome::Kind::kFullscreen:
                text += "fullscreen";
                break;
            case InputOutcome::Kind::kPanelOpen:
                text += "panel open";
                break;
            case InputOutcome::Kind::kPanelClose:
                text += "panel close";
                break;
            case InputOutcome::Kind::kPanelUp:
                text += "panel up";
                break;
            case InputOutcome::Kind::kPanelDown:
                text += "panel down";
                break;
            case InputOutcome::Kind::kPanelWatch:
                text += "watch";
                break;
            case InputOutcome::Kind::kReplayPause:
                text += "replay pause";
                break;
            case InputOutcome::Kind::kReplayFaster:
                text += "faster";
                break;
            case InputOutcome::Kind::kReplaySlower:
                text += "slower";
                break;
            case InputOutcome::Kind::kReplayEnd:
                text += "replay end";
                break;
        }
    }
    return text;
}

}  // namespace sinkaway
