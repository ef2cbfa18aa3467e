// A label template: one template character per text position saying what a
// user may type there, which positions are separators the cursor steps
// over, and what the text looks like when there is no valid value.
//
// Template alphabet, for a typed character c (signed: bytes from 128 up are
// never accepted):
//   '?'        any printable character except space (33..126)
//   '~'        nothing (a locked position); a separator
//   '0'..'9'   a digit from '0' up to the template digit
//   letters    any character from 'A' up to the template letter by code
//   '-'        ' ', '+' or '-' (a sign position)
//   ' '        nothing; not a separator
//   other      nothing; a separator
// Positions at or past the end accept nothing and are not separators.
#ifndef LABELSBASE_LABELTEMPLATE_H
#define LABELSBASE_LABELTEMPLATE_H

#include <host/host.h>

class LabelTemplate {
public:
    LightweightString<char> template_text;
    LightweightString<char> invalid_cache;       // '?' form, built with the template
    LightweightString<char> past_end_cache;      // '>' form
    LightweightString<char> before_start_cache;  // '<' form

    LabelTemplate() = default;
    explicit LabelTemplate(LightweightString<char> text);

    // New template text and its three invalid forms.
    void set(LightweightString<char> text);

    // Whether c may be typed at position pos.
    bool isValidChar(char c, unsigned pos) const;
    // Whether position pos is a separator.
    bool isAtSeparator(unsigned pos) const;
    // The text shown for a special sample: '<' form for the before-start
    // sample 100000002, '>' form for the past-end sample 100000001, '?' form
    // for anything else. Letters, digits, '+', '-' and '?' are replaced by the
    // fill character; other characters are kept. Empty template: empty text.
    // Valid until the next set(). Only reads: the forms are built by set(),
    // so a template shared by several threads may answer all of them.
    char const* getInvalidString(int s) const;

    // Marks the text and forms immutable (see LightweightString): copies of
    // this template then share them without counting. For templates that
    // live as long as the process and are never set again.
    void make_immutable() noexcept;
};

#endif
