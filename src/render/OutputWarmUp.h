#pragma once

#include <thread>

namespace cw {

// Readies, on a second thread, what making a page needs the first time in a
// process and what does not depend on the document: the font database with
// the program's default face and its fall-backs, and the image writers a PDF
// file embeds pictures with. The command line starts it before it reads the
// document, so that this work overlaps reading and decoding the pictures
// instead of following them. The destructor waits for the thread.
class OutputWarmUp
{
public:
    enum Target { Raster, Vector };
    explicit OutputWarmUp(Target target);
    ~OutputWarmUp();
    OutputWarmUp(const OutputWarmUp &) = delete;
    OutputWarmUp &operator=(const OutputWarmUp &) = delete;

private:
    std::thread m_thread;
};

} // namespace cw
