
namespace cw {

#pragma once

// The pages of the preview and of a print: a page is a sheet of the
// document's case format, by its index (PreviewPage(i)). The jewel case's
// are the front page (the front label's two faces) and the back page (the
// back label between its spines). Refresh requests may also name whichever
// page the preview shows. The disc face has a page of its own, whatever the
// case (Disc: the face alone, centred); printed, it lies on its stock's
// paper (DiscSheet: a label sheet's labels, or a printable disc's page).
enum class PreviewPage { Shown = -1, Front = 0, Back = 1, Disc = 100, DiscSheet = 101 };

// Where edits send their refresh requests. The preview window implements it;
// until one exists, and in tests, other implementations stand in.
class PreviewRefresher
{
public:
    virtual ~PreviewRefresher() = default;
    virtual void RequestPreviewRefresh(PreviewPage page) = 0;
};

class NullPreviewRefresher : public PreviewRefresher
{
public:
    void RequestPreviewRefresh(PreviewPage) override { }
};

} // namespace cw
