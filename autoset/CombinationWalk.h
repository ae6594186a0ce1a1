#pragma once

// The full scan that follows a failed quick scan: the same combinations in
// the same order, each applied to the port and probed twice. The progress
// dialog takes one step per tick of its timer; without a window the steps
// follow each other at once. Both go through this walk so that they cannot
// drift apart.

#include <cstdint>

namespace portavo {

class CombinationWalk {
public:
    // block: the caller's session block, which must outlive the walk; its
    // options word decides which combinations are tried.
    explicit CombinationWalk(std::uint8_t* block);

    // Writes the current combination into the block's settings record.
    void Write();
    // Applies the block's settings to its port and probes: true when the unit answered.
    bool Probe();
    // After a failed probe: on to the next combination, written into the
    // block; false when there is none left (the last one tried stays there).
    bool Next();

    int Position() const { return m_position; }
    int Failures() const { return m_failures; }
    // How many combinations the options allow: the dialog's progress range.
    int Range() const;

private:
    std::uint8_t* m_block;
    std::uint16_t m_options;
    int m_position = 0;
    int m_failures = 0;
};

// The walk without a window, from the first combination: kDialogFound with
// the settings that answered copied to settings, else kDialogFailed.
int WalkWithoutWindow(std::uint8_t* block, std::uint8_t* settings);

} // namespace portavo
