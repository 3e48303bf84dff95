// Reconstruction kernels of the kernel resampler, and the registry in which they are found by class
// name. Filter takes and returns 32-bit floats; the arithmetic inside runs in double.
#pragma once

#include "bitmap32/Bmp32_Containers.h"
#include "bitmap32/Bmp32_Persistent.h"

#include <string>
#include <vector>

namespace Bmp32_Kernels {

class TCustomKernel;

// A kernel class reference: its name and how to make one.
class TKernelClass : public TMetaClass {
public:
    using TMetaClass::TMetaClass;
    virtual TCustomKernel* Create() const = 0;
};

template <class T>
class TKernelClassOf : public TKernelClass {
public:
    using TKernelClass::TKernelClass;
    TCustomKernel* Create() const override { return new T; }
};

// One published float property of a kernel, read and written by name.
struct TKernelProperty {
    const char* Name;
    float (*Get)(const TCustomKernel* Kernel);
    void (*Set)(TCustomKernel* Kernel, float Value);
};

class TCustomKernel : public TPersistent {
public:
    // Told of every change (the owning resampler); may be none.
    TNotifiablePersistent* Observer = nullptr;

    // Whether sums of weighted pixels must be clamped to 0..255 (the kernel has negative lobes).
    virtual bool RangeCheck() const { return false; }
    virtual float Filter(float Value) const = 0;
    virtual float GetWidth() const = 0;
    virtual const TKernelClass* ClassRef() const = 0;

    // The published properties, in declaration order.
    virtual std::vector<TKernelProperty> Properties() const { return {}; }
    // False when the kernel has no property of that name.
    bool FindProperty(const std::string& Name, TKernelProperty& Property) const;

    void Changed();

protected:
    // Onto another kernel: every property the other kernel has by the same name.
    void AssignTo(TPersistent* Dest) const override;
    // Stores a differing value and reports the change.
    void SetValue(float& Field, float Value);
};

class TBoxKernel : public TCustomKernel {
public:
    float Filter(float Value) const override;
    float GetWidth() const override { return 1; }
    const TKernelClass* ClassRef() const override { return &Class; }
    static const TKernelClassOf<TBoxKernel> Class;
};

class TLinearKernel : public TCustomKernel {
public:
    float Filter(float Value) const override;
    float GetWidth() const override { return 1; }
    const TKernelClass* ClassRef() const override { return &Class; }
    static const TKernelClassOf<TLinearKernel> Class;
};

class TCosineKernel : public TCustomKernel {
public:
    float Filter(float Value) const override;
    float GetWidth() const override { return 1; }
    const TKernelClass* ClassRef() const override { return &Class; }
    static const TKernelClassOf<TCosineKernel> Class;
};

class TSplineKernel : public TCustomKernel {
public:
    bool RangeCheck() const override { return true; }
    float Filter(float Value) const override;
    float GetWidth() const override { return 2; }
    const TKernelClass* ClassRef() const override { return &Class; }
    static const TKernelClassOf<TSplineKernel> Class;
};

class TMitchellKernel : public TCustomKernel {
public:
    bool RangeCheck() const override { return true; }
    float Filter(float Value) const override;
    float GetWidth() const override { return 2; }
    const TKernelClass* ClassRef() const override { return &Class; }
    static const TKernelClassOf<TMitchellKernel> Class;
};

class TCubicKernel : public TCustomKernel {
public:
    bool RangeCheck() const override { return true; }
    float Filter(float Value) const override;
    float GetWidth() const override { return 2; }
    const TKernelClass* ClassRef() const override { return &Class; }
    static const TKernelClassOf<TCubicKernel> Class;

    float Coeff() const { return FCoeff; }
    void SetCoeff(float Value) { SetValue(FCoeff, Value); }
    std::vector<TKernelProperty> Properties() const override;

private:
    float FCoeff = -0.5f;
};

class THermiteKernel : public TCustomKernel {
public:
    bool RangeCheck() const override { return true; }
    float Filter(float Value) const override;
    float GetWidth() const override { return 2; }
    const TKernelClass* ClassRef() const override { return &Class; }
    static const TKernelClassOf<THermiteKernel> Class;

    float Bias() const { return FBias; }
    void SetBias(float Value) { SetValue(FBias, Value); }
    float Tension() const { return FTension; }
    void SetTension(float Value) { SetValue(FTension, Value); }
    std::vector<TKernelProperty> Properties() const override;

private:
    float FBias = 0;
    float FTension = 0;
};

// Sinc windowed over Width: 0 from Width on. Not registered itself.
class TWindowedSincKernel : public TCustomKernel {
public:
    bool RangeCheck() const override { return true; }
    float Filter(float Value) const override;
    float GetWidth() const override { return FWidth; }
    virtual float Window(float Value) const = 0;

    void SetWidth(float Value) { SetValue(FWidth, Value); }
    std::vector<TKernelProperty> Properties() const override;

protected:
    float FWidth = 3;
};

class TLanczosKernel : public TWindowedSincKernel {
public:
    float Window(float Value) const override;
    const TKernelClass* ClassRef() const override { return &Class; }
    static const TKernelClassOf<TLanczosKernel> Class;
};

class TGaussianKernel : public TWindowedSincKernel {
public:
    float Window(float Value) const override;
    const TKernelClass* ClassRef() const override { return &Class; }
    static const TKernelClassOf<TGaussianKernel> Class;

    float Sigma() const { return FSigma; }
    // Ignored once Sigma is 0.
    void SetSigma(float Value);
    std::vector<TKernelProperty> Properties() const override;

private:
    float FSigma = 1.33f;
};

class TBlackmanKernel : public TWindowedSincKernel {
public:
    float Window(float Value) const override;
    const TKernelClass* ClassRef() const override { return &Class; }
    static const TKernelClassOf<TBlackmanKernel> Class;
};

class THannKernel : public TWindowedSincKernel {
public:
    float Window(float Value) const override;
    const TKernelClass* ClassRef() const override { return &Class; }
    static const TKernelClassOf<THannKernel> Class;
};

class THammingKernel : public TWindowedSincKernel {
public:
    float Window(float Value) const override;
    const TKernelClass* ClassRef() const override { return &Class; }
    static const TKernelClassOf<THammingKernel> Class;
};

class TSinshKernel : public TCustomKernel {
public:
    bool RangeCheck() const override { return true; }
    float Filter(float Value) const override;
    float GetWidth() const override { return FWidth; }
    const TKernelClass* ClassRef() const override { return &Class; }
    static const TKernelClassOf<TSinshKernel> Class;

    void SetWidth(float Value) { SetValue(FWidth, Value); }
    float Coeff() const { return FCoeff; }
    // Ignored once Coeff is 0.
    void SetCoeff(float Value);
    std::vector<TKernelProperty> Properties() const override;

private:
    float FWidth = 3;
    float FCoeff = 0.5f;
};

// sin(v) / v with v = pi * X rounded to a 32-bit float; 1 at 0.
float Sinc(float X);

// The kernel registry, created by the first registration; nullptr before it.
TClassList* KernelList();
void RegisterKernel(const TKernelClass* KernelClass);

} // namespace Bmp32_Kernels

using namespace Bmp32_Kernels;
