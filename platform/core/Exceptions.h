// The class library's exception tree: every layer below the windows reports failures by throwing one
// of these. Messages are plain text, usually built with Format().
#pragma once

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    std::string Message;
};

#define HARBEK_DECLARE_EXCEPTION(Name, Base)                                                               \
    class Name : public Base {                                                                             \
    public:                                                                                                \
        using Base::Base;                                                                                  \
    }

HARBEK_DECLARE_EXCEPTION(EAbort, Exception);
HARBEK_DECLARE_EXCEPTION(EConvertError, Exception);
HARBEK_DECLARE_EXCEPTION(EListError, Exception);
HARBEK_DECLARE_EXCEPTION(EStringListError, EListError);
HARBEK_DECLARE_EXCEPTION(EStreamError, Exception);
HARBEK_DECLARE_EXCEPTION(EFOpenError, EStreamError);
HARBEK_DECLARE_EXCEPTION(EFCreateError, EStreamError);
HARBEK_DECLARE_EXCEPTION(EReadError, EStreamError);
HARBEK_DECLARE_EXCEPTION(EWriteError, EStreamError);
HARBEK_DECLARE_EXCEPTION(EInOutError, Exception);
HARBEK_DECLARE_EXCEPTION(EOSError, Exception);
HARBEK_DECLARE_EXCEPTION(ERegistryException, Exception);
HARBEK_DECLARE_EXCEPTION(EIniFileException, Exception);
HARBEK_DECLARE_EXCEPTION(EInvalidOperation, Exception);
HARBEK_DECLARE_EXCEPTION(EInvalidPointer, Exception);
HARBEK_DECLARE_EXCEPTION(EOutOfMemory, Exception);
HARBEK_DECLARE_EXCEPTION(EOutOfResources, Exception);
HARBEK_DECLARE_EXCEPTION(ERangeError, Exception);
HARBEK_DECLARE_EXCEPTION(EInvalidArgument, Exception);
HARBEK_DECLARE_EXCEPTION(EThread, Exception);
