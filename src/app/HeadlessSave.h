#pragma once

class QString;

namespace clipnab {

struct CommandLine;

namespace HeadlessSave {

// Saves the videos the command line names without a window: the window's download flow on the
// real hidden browser and transfer, up to `jobs` at once, each recorded in the history. Prints
// each saved file's path on stdout. With one address, a failure is what the window's "Warning"
// would say on stderr, its reason after the sentence ("Can not download the video file:
// connection refused"), and the phases and the transfer's numbers go to stderr when it is a
// terminal; with more, or a batch file, each failure and skip names its address and a summary
// line ends it. Returns the exit status.
int run(const CommandLine &command, const QString &downloadFolder);

} // namespace HeadlessSave

} // namespace clipnab
