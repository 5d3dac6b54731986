#pragma once
// Placeholder: the credential encryption class is being written.
class CCrypto {
public:
    virtual ~CCrypto() = default;
};
