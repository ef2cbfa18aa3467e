// KeyKode, ink-number, feet and film-frame converters (declared through labelcvt.h).
#ifndef LABELSBASE_LABELCVT_FILM_H
#define LABELSBASE_LABELCVT_FILM_H
#endif
