#pragma once

// Where edits send their refresh requests: page 0 is the front page, 1 the
// back page with the spines, 2 whichever page the preview shows. The preview
// window implements it; until one exists, and in tests, other implementations
// stand in.
class PreviewRefresher
{
public:
    virtual ~PreviewRefresher() = default;
    virtual void RequestPreviewRefresh(int page) = 0;
};

class NullPreviewRefresher : public PreviewRefresher
{
public:
    void RequestPreviewRefresh(int) override { }
};
