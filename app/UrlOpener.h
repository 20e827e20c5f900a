// Hands a URL ("mailto:…") to the desktop; tests take the text instead.
#pragma once

#include <QString>
#include <functional>

namespace q2 {

// A mail address for the part of a "mailto:" link before "?": everything but
// letters, digits, "-._~" and "@" is percent-encoded, so that "&", "#", "?"
// and blanks stay part of the address.
QString MailtoAddress(const QString& address);
// A text for a "mailto:" subject or body: "%", "&" and "#" are
// percent-encoded; the rest stays as written.
QString MailtoText(const QString& text);

// Opens the URL text as built; a failure is not reported.
void OpenUrlText(const QString& url);

// Replaces the desktop for the tests; an empty function restores it.
void SetUrlOpener(std::function<void(const QString&)> opener);

}  // namespace q2
