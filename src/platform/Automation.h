#pragma once

#include <optional>
#include <string>

class QImage;

namespace pagora {

// Lets tests and benchmarks drive the real program without a person:
//   PAGORA_AUTOMATION=FILE  the program appends what it shows to FILE, one
//                           line each (messages, progress, geometry, step times)
//                           and records message boxes instead of showing them;
//   PAGORA_ANSWERS=LIST     answers for dialogs, "dialog:answer" separated by
//                           newlines, taken in order ("open:PATH", "open:",
//                           "password:TEXT", "password:<close>", "password:<cancel>");
//   PAGORA_SNAPSHOT=PNG     the book's first painted picture is saved there;
//   PAGORA_THEN=escape      Esc is pressed on the book once it is painted;
//   PAGORA_THEN=read        the book is read through once painted: every spread
//                           forward and back with the pointer over it, jumps
//                           along both stacks, then Esc in the middle of a turn;
//   PAGORA_THEN=views       the other views are walked once the book is painted:
//                           the picture viewer and its steps, the browser and
//                           its pages, a cell, back to the book, then Esc while
//                           both views' loaders work;
//   PAGORA_OPENING=skip     the book is painted at once, without its opening.
namespace automation {

bool Active();
void Record(const std::string& line);
// The next answer for the dialog, or nothing when none is left.
std::optional<std::string> NextAnswer(const std::string& dialog);
// Milliseconds since the program started.
double Elapsed();
std::string SnapshotPath();
std::string Then();
bool SkipOpening();

}  // namespace automation
}  // namespace pagora
