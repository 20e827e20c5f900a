// Hands a URL ("mailto:…") to the desktop; tests take the text instead.
#pragma once

#include <QString>
#include <functional>

namespace q2 {

// Opens the URL text as built; a failure is not reported.
void OpenUrlText(const QString& url);

// Replaces the desktop for the tests; an empty function restores it.
void SetUrlOpener(std::function<void(const QString&)> opener);

}  // namespace q2
