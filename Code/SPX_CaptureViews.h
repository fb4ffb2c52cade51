#pragma once
// The two views a capture reports to: the progress bar of the procedure (one step per frame) and the list box in
// which the procedure shows its progress. The window layer implements them with its widgets; tests pass doubles or
// nothing at all.

namespace spectrel {

class TCaptureProgressBar {
public:
    virtual ~TCaptureProgressBar() = default;
    virtual void setRange(int minimum, int maximum) = 0;
    // A position beyond the range shows the bar full (or empty below it).
    virtual void setPosition(int position) = 0;
    virtual int position() const = 0;
    // Repaints the bar at once, before the message loop runs again.
    virtual void redraw() = 0;
};

class TCaptureDisplayList {
public:
    virtual ~TCaptureDisplayList() = default;
    // Gives the list its normal window colour again (the procedures tint it while the reader works).
    virtual void restoreNormalColour() = 0;
};

}  // namespace spectrel
