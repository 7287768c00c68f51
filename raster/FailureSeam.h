#pragma once

// Every creation, selection and release of a drawing resource or window reports through
// this seam. It is inert unless armed: a test arms it to make the n-th occurrence of one
// kind of step fail, and the caller then takes its failure path exactly as it would on a
// real failure.
enum class ResourceStep {
    CreateBitmap,
    DeleteBitmap,
    CreateMemoryDC,
    DeleteMemoryDC,
    SelectBitmap,
    CreateRegion,
    CreatePolygonRegion,
    DeleteRegion,
    CreatePen,
    DeletePen,
    SelectPen,
    CreateBrush,
    DeleteBrush,
    SelectBrush,
    CreateWindow,
};

namespace FailureSeam {

// The occurrence-th time (1 = the next time) `step` runs from now on, it fails. One arming
// at a time; it disarms itself after firing.
void Arm(ResourceStep step, int occurrence = 1);
void Disarm();
// Called by the resource code: false means this step fails.
bool Pass(ResourceStep step);

}  // namespace FailureSeam
