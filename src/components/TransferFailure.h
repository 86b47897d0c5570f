#pragma once

namespace clipnab {

// Why a get that had started ended without its body.
enum class TransferFailure
{
    Network, // no usable answer: the host unknown, the connection refused or reset, no HTTP
    Timeout, // nothing arrived for the idle time
    Http,    // an answer outside 2xx, a redirect that may not be followed, conflicting lengths,
             // or a resume answered with other bytes than those asked for
    Length,  // the connection kept ending before the announced length, retries included
    Write,   // the part file could not be opened, written or synced
};

} // namespace clipnab
