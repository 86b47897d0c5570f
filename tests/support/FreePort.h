#pragma once

#include <QtGlobal>

namespace clipnab {

// A port of 127.0.0.1 that nothing listens on at the moment of the call: a program can be told
// to listen there, and a connection to it is refused. 0 when no port could be had.
quint16 freePort();

} // namespace clipnab
