#pragma once

namespace cw {

// The decoder helper's whole life: fences itself, tells the program it is
// ready, then answers requests on `socket` until the program closes it.
// `pictureLimitMb` is the program's picture limit. Returns the exit status.
int runDecoderService(int socket, int pictureLimitMb);

} // namespace cw
