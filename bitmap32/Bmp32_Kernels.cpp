// The reconstruction kernels and their registry.
#include "bitmap32/Bmp32_Kernels.h"

#include <cmath>
#include <memory>
#include <numbers>

namespace Bmp32_Kernels {

namespace {

constexpr double Pi = std::numbers::pi;

template <class K>
float GetField(const TCustomKernel* Kernel, float (K::*Getter)() const) {
    return (static_cast<const K*>(Kernel)->*Getter)();
}

} // namespace

float Sinc(float X) {
    if (X == 0) return 1;
    const double v = static_cast<float>(Pi * X);
    return static_cast<float>(std::sin(v) / v);
}

// ---- TCustomKernel ----

bool TCustomKernel::FindProperty(const std::string& Name, TKernelProperty& Property) const {
    for (const TKernelProperty& p : Properties())
        if (Name == p.Name) {
            Property = p;
            return true;
        }
    return false;
}

void TCustomKernel::Changed() {
    if (Observer) Observer->Changed();
}

void TCustomKernel::AssignTo(TPersistent* Dest) const {
    if (auto* dst = dynamic_cast<TCustomKernel*>(Dest)) {
        TKernelProperty target;
        for (const TKernelProperty& p : Properties())
            if (dst->FindProperty(p.Name, target)) target.Set(dst, p.Get(this));
        return;
    }
    TPersistent::AssignTo(Dest);
}

void TCustomKernel::SetValue(float& Field, float Value) {
    if (Field != Value) {
        Field = Value;
        Changed();
    }
}

// ---- the kernels ----

float TBoxKernel::Filter(float Value) const {
    return Value >= -0.5f && Value <= 0.5f ? 1.0f : 0.0f;
}

float TLinearKernel::Filter(float Value) const {
    if (Value >= -1.0f && Value < 0.0f) return 1.0f + Value;
    if (Value >= 0.0f && Value < 1.0f) return 1.0f - Value;
    return 0;
}

float TCosineKernel::Filter(float Value) const {
    if (std::fabs(Value) < 1.0f) return static_cast<float>((std::cos(Pi * Value) + 1) / 2);
    return 0;
}

float TSplineKernel::Filter(float Value) const {
    const double t = std::fabs(Value);
    if (t < 1) return static_cast<float>(0.5 * t * t * t - t * t + 2.0 / 3.0);
    if (t < 2) {
        const double u = 2 - t;
        return static_cast<float>(u * u * u / 6);
    }
    return 0;
}

float TMitchellKernel::Filter(float Value) const {
    const double t = std::fabs(Value), t2 = t * t, t3 = t2 * t;
    if (t < 1) return static_cast<float>((7 * t3 - 12 * t2 + 16.0 / 3.0) / 6);
    if (t < 2) return static_cast<float>((-7.0 / 3.0 * t3 + 12 * t2 - 20 * t + 32.0 / 3.0) / 6);
    return 0;
}

float TCubicKernel::Filter(float Value) const {
    const double a = FCoeff, t = std::fabs(Value), t2 = t * t, t3 = t2 * t;
    if (t < 1) return static_cast<float>((a + 2) * t3 - (a + 3) * t2 + 1);
    if (t < 2) return static_cast<float>(a * (t3 - 5 * t2 + 8 * t - 4));
    return 0;
}

std::vector<TKernelProperty> TCubicKernel::Properties() const {
    return {{"Coeff", [](const TCustomKernel* k) { return GetField(k, &TCubicKernel::Coeff); },
             [](TCustomKernel* k, float v) { static_cast<TCubicKernel*>(k)->SetCoeff(v); }}};
}

float THermiteKernel::Filter(float Value) const {
    const double T = (1 - static_cast<double>(FTension)) / 2;
    const double i = std::floor(static_cast<double>(Value));
    const double d = std::fabs(i - Value), d2 = d * d, d3 = d2 * d;
    const double h01 = -2 * d3 + 3 * d2, h10 = d3 - 2 * d2 + d, h11 = d3 - d2;
    const double L = (1 - static_cast<double>(FBias)) * T, R = (1 + static_cast<double>(FBias)) * T;
    switch (static_cast<int>(i)) {
    case -2:
        return static_cast<float>(h11 * L);
    case -1:
        return static_cast<float>(h10 * L + h01 + (R - L) * h11);
    case 0:
        return static_cast<float>((R - L) * h10 + (1 - h01) - h11 * R);
    case 1:
        return static_cast<float>(-h10 * R);
    default:
        return 0;
    }
}

std::vector<TKernelProperty> THermiteKernel::Properties() const {
    return {{"Bias", [](const TCustomKernel* k) { return GetField(k, &THermiteKernel::Bias); },
             [](TCustomKernel* k, float v) { static_cast<THermiteKernel*>(k)->SetBias(v); }},
            {"Tension", [](const TCustomKernel* k) { return GetField(k, &THermiteKernel::Tension); },
             [](TCustomKernel* k, float v) { static_cast<THermiteKernel*>(k)->SetTension(v); }}};
}

float TWindowedSincKernel::Filter(float Value) const {
    const float t = std::fabs(Value);
    if (t >= FWidth) return 0;
    return static_cast<float>(static_cast<double>(Window(t)) * Sinc(t));
}

std::vector<TKernelProperty> TWindowedSincKernel::Properties() const {
    return {{"Width",
             [](const TCustomKernel* k) { return static_cast<const TWindowedSincKernel*>(k)->GetWidth(); },
             [](TCustomKernel* k, float v) { static_cast<TWindowedSincKernel*>(k)->SetWidth(v); }}};
}

float TLanczosKernel::Window(float Value) const {
    return Sinc(static_cast<float>(static_cast<double>(Value) / FWidth));
}

float TGaussianKernel::Window(float Value) const {
    const double x = Value;
    return static_cast<float>(std::exp2(-x * x / FSigma));
}

void TGaussianKernel::SetSigma(float Value) {
    if (FSigma != Value && FSigma != 0) {
        FSigma = Value;
        Changed();
    }
}

std::vector<TKernelProperty> TGaussianKernel::Properties() const {
    auto props = TWindowedSincKernel::Properties();
    props.push_back({"Sigma", [](const TCustomKernel* k) { return GetField(k, &TGaussianKernel::Sigma); },
                     [](TCustomKernel* k, float v) { static_cast<TGaussianKernel*>(k)->SetSigma(v); }});
    return props;
}

float TBlackmanKernel::Window(float Value) const {
    const double u = Pi * Value / FWidth;
    return static_cast<float>(0.42 + 0.5 * std::cos(u) + 0.08 * std::cos(2 * u));
}

float THannKernel::Window(float Value) const {
    return static_cast<float>(0.5 * std::cos(Pi * Value / FWidth) + 0.5);
}

float THammingKernel::Window(float Value) const {
    return static_cast<float>(0.54 + 0.46 * std::cos(Pi * Value / FWidth));
}

float TSinshKernel::Filter(float Value) const {
    if (Value == 0) return 1;
    const double x = Value, c = FCoeff;
    return static_cast<float>(std::sin(Pi * x) * c / std::sinh(Pi * c * x));
}

void TSinshKernel::SetCoeff(float Value) {
    if (FCoeff != Value && FCoeff != 0) {
        FCoeff = Value;
        Changed();
    }
}

std::vector<TKernelProperty> TSinshKernel::Properties() const {
    return {{"Width", [](const TCustomKernel* k) { return static_cast<const TSinshKernel*>(k)->GetWidth(); },
             [](TCustomKernel* k, float v) { static_cast<TSinshKernel*>(k)->SetWidth(v); }},
            {"Coeff", [](const TCustomKernel* k) { return GetField(k, &TSinshKernel::Coeff); },
             [](TCustomKernel* k, float v) { static_cast<TSinshKernel*>(k)->SetCoeff(v); }}};
}

const TKernelClassOf<TBoxKernel> TBoxKernel::Class{"TBoxKernel"};
const TKernelClassOf<TLinearKernel> TLinearKernel::Class{"TLinearKernel"};
const TKernelClassOf<TCosineKernel> TCosineKernel::Class{"TCosineKernel"};
const TKernelClassOf<TSplineKernel> TSplineKernel::Class{"TSplineKernel"};
const TKernelClassOf<TMitchellKernel> TMitchellKernel::Class{"TMitchellKernel"};
const TKernelClassOf<TCubicKernel> TCubicKernel::Class{"TCubicKernel"};
const TKernelClassOf<THermiteKernel> THermiteKernel::Class{"THermiteKernel"};
const TKernelClassOf<TLanczosKernel> TLanczosKernel::Class{"TLanczosKernel"};
const TKernelClassOf<TGaussianKernel> TGaussianKernel::Class{"TGaussianKernel"};
const TKernelClassOf<TBlackmanKernel> TBlackmanKernel::Class{"TBlackmanKernel"};
const TKernelClassOf<THannKernel> THannKernel::Class{"THannKernel"};
const TKernelClassOf<THammingKernel> THammingKernel::Class{"THammingKernel"};
const TKernelClassOf<TSinshKernel> TSinshKernel::Class{"TSinshKernel"};

// ---- registry ----

namespace {

std::unique_ptr<TClassList>& Registry() {
    static std::unique_ptr<TClassList> list;
    return list;
}

} // namespace

TClassList* KernelList() {
    return Registry().get();
}

void RegisterKernel(const TKernelClass* KernelClass) {
    if (!Registry()) Registry() = std::make_unique<TClassList>();
    Registry()->Add(KernelClass);
}

} // namespace Bmp32_Kernels
