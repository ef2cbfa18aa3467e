// The kind of film-to-video transfer of material.
#ifndef LABELSBASE_TRANSFER_TYPE_H
#define LABELSBASE_TRANSFER_TYPE_H

#include <cstdint>

enum transfer_type : std::int32_t {
    transfer_unspecified = 0,
    transfer_pull23 = 1,           // 2:3 pulldown: 4 film frames to 5 video frames
    transfer_pogle = 2,            // 24-to-25 pulldown: 24 film frames to 25 video frames
    transfer_frame_for_frame = 3,  // one video frame per film frame
    transfer_pulldown = 7          // the pulldown the video rate calls for
};

#endif
