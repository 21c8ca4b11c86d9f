// What the input router answered, as one line of text: readable in a table and in a failure.
#pragma once

#include <string>

#include "input_router.h"
#include "vocabulary.h"

namespace sinkaway {

inline const char* CommandText(BestGames::Command command) {
    using C = BestGames::Command;
    switch (command) {
        case C::kOpenPanel:
            return "panel open";
        case C::kClosePanel:
            return "panel close";
        case C::kUp:
            return "panel up";
        case C::kDown:
            return "panel down";
        case C::kWatch:
            return "watch";
        case C::kPauseReplay:
            return "replay pause";
        case C::kFaster:
            return "faster";
        case C::kSlower:
            return "slower";
        case C::kEndReplay:
            return "replay end";
        case C::kSave:
            return "save";
        case C::kOpenFile:
            return "open file";
        case C::kNextTable:
            return "table next";
        case C::kPreviousTable:
            return "table previous";
        case C::kShowMine:
            return "table mine";
        case C::kShowWorld:
            return "table world";
        case C::kShowToday:
            return "table today";
        case C::kTodaysGame:
            return "today's game";
        case C::kOpenName:
            return "name open";
        case C::kNameUp:
            return "name up";
        case C::kNameDown:
            return "name down";
        case C::kNameLeft:
            return "name left";
        case C::kNameRight:
            return "name right";
        case C::kNameEnter:
            return "name enter";
        case C::kNameEscape:
            return "name escape";
        case C::kNameAbove:
            return "name above";
        case C::kNameLetter:
            return "name letter";
        case C::kNameBelow:
            return "name below";
    }
    return "?";
}

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
            case InputOutcome::Kind::kBestGames:
                text += CommandText(o.command);
                if (o.command == BestGames::Command::kNameAbove ||
                    o.command == BestGames::Command::kNameLetter ||
                    o.command == BestGames::Command::kNameBelow)
                    text += " " + std::to_string(o.slot);
                break;
        }
    }
    return text;
}

}  // namespace sinkaway
