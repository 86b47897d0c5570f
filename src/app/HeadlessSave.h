#pragma once

class QString;

namespace clipnab::HeadlessSave {

// Saves the video of one video page without a window: the window's download flow on the real
// hidden browser and transfer. Prints the saved file's path on stdout, or on stderr what the
// window's "Warning" would say, its reason after the sentence ("Can not download the video file:
// connection refused"); phases and the numbers of the transfer go to stderr when it is a
// terminal. Returns the exit status.
int run(const QString &siteBase, const QString &downloadFolder, const QString &address);

} // namespace clipnab::HeadlessSave
