// Timecode converters (declared through labelcvt.h).
#ifndef LABELSBASE_LABELCVT_TIMECODE_H
#define LABELSBASE_LABELCVT_TIMECODE_H
#endif
