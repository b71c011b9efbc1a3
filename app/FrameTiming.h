#pragma once
// How long each frame of a view takes to draw, and how long after the input that asked for it it
// shows. Kept for the input-to-frame benchmark; with PLINTHWRIGHT_FRAME_TIMES=1 in the
// environment each frame is also printed to standard error, for users to report.

#include <QString>

#include <chrono>
#include <optional>

class FrameTiming {
public:
    using Clock = std::chrono::steady_clock;
    struct Frame {
        double drawMs = 0.0;                 // from the frame's start to its end
        std::optional<double> inputDelayMs;  // from the input it shows to its end
        Clock::time_point end;
    };

    explicit FrameTiming(QString view);

    // An input that changes the picture arrived: the next frame to end shows it. The earliest
    // such input since the last frame counts.
    void inputArrived();
    void frameStarted();
    // The frame is on screen (or handed to the window system). A frame that never started, as a
    // grab's, is not one.
    void frameEnded();

    const Frame& last() const { return last_; }
    long frames() const { return frames_; }

private:
    QString view_;
    bool printing_;
    std::optional<Clock::time_point> input_, started_;
    Frame last_;
    long frames_ = 0;
};
