#pragma once

#include <span>
#include <string>

// What a device page exposes to the parameter exchange: one parameter's text to and from
// the page's fields.
class IParameters {
public:
    virtual ~IParameters() = default;
    virtual void SetParameter(int number, std::u16string value);
    virtual std::u16string GetParameter(int number);
};

// Reads each number in order into target; stops at the first failure.
bool ReadParameters(std::span<const int> numbers, IParameters& target);
// Writes each number in order from target; stops at the first failure.
bool WriteParameters(IParameters& target, std::span<const int> numbers);

// A device page as its Read and Write buttons see it: parameters plus the exchange of
// controls and fields (false when a control holds an entry that fails validation).
class ParameterPage : public IParameters {
public:
    virtual bool UpdateData(bool saveAndValidate) = 0;
};

enum class ParameterDirection { Read, Write };

// The Read and Write buttons of every device page: wait cursor, controls into fields,
// the exchange, the failure message with its prefix, fields back into the controls.
// Returns whether every parameter was exchanged.
bool RunParameterButton(ParameterPage& page, ParameterDirection direction,
                        std::span<const int> numbers);
