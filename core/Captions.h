#pragma once
// The captions a window takes in the current language.
#include <QString>

#include <functional>

class QWidget;

namespace modMain {

// Runs apply once the language table is read (before that there is nothing to apply). A
// failure is told ("Error applying language settings!") and LangID goes back to PrevLangID.
void ApplyLangOrTell(const std::function<void()> &apply);

// Every control below root whose tag is a string id gets that string in the current language:
// a frame its title, a button its text, a label its caption. oneLine as GetLangString takes
// it; skip leaves out the controls it holds for. Throws what GetLangString throws.
void ApplyTagCaptions(QWidget *root, bool oneLine = false, const std::function<bool(const QWidget *)> &skip = {});

}
