// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decoded photos and printed pages are buffers of tens of megabytes, made and dropped one after
// the other. The C library maps each such buffer afresh and unmaps it when freed, so every one
// costs a page fault per 4 KiB and the threads contend for the address space: measured, that
// was over half the time of composing a printed page.

namespace vimbrel {

// Lets freed picture buffers be reused from the heap. Call once, first thing in main().
void keepPictureBuffers();
// Hands the heap's free memory back to the system: after a job that used many large buffers.
void releasePictureBuffers();

} // namespace vimbrel
