#pragma once

#include <QString>
#include <cstddef>

namespace cw {

// The limits the decoder helper runs behind, set on itself before it loads
// any module: no new privileges, an address-space limit (builds without the
// address sanitizer, whose shadow memory needs far more address space; there
// the program counts the helper's resident memory instead), and a system-call
// filter that refuses new processes, network sockets, signals to other
// processes, writing or changing files, raising limits and tracing.
struct DecoderFenceReport
{
    bool noNewPrivileges = false;
    bool addressSpaceLimited = false;
    bool systemCallFilter = false;
    size_t addressSpaceBytes = 0; // 0 when not limited
};

// The helper's address-space budget: what it already maps, the largest
// picture the limit allows, one working copy of it (a module's own buffer,
// or the 32-bit picture made from a module's rows) and room for the
// decoding libraries that modules load later.
size_t decoderAddressBudget(size_t mappedNow, int pictureLimitMb);
// The same for resident memory, which the program checks from outside.
size_t decoderResidentBudget(size_t residentNow, int pictureLimitMb);

// Applies every fence this system and build allow. `socket` is the helper's
// end of the channel: a fatal signal at the memory limit is reported on it.
DecoderFenceReport applyDecoderFence(int pictureLimitMb, int socket);

// Virtual and resident bytes of a process ("self" or a pid), 0 when unknown.
size_t processMappedBytes(const QString &pid);
size_t processResidentBytes(const QString &pid);

// Whether this build runs under the address sanitizer.
bool builtWithAddressSanitizer();

} // namespace cw
