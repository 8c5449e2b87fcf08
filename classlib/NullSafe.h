#pragma once
// GetSafeHwnd, GetSafeHdc and friends are called through pointers that may be
// NULL (that is their purpose). A plain `this ? ... : NULL` is folded away by
// the compiler, which assumes `this` is never NULL; passing the pointer
// through an empty asm statement hides that assumption.

template <class T>
inline const T* afxUnknownPointer(const T* p) {
  __asm__("" : "+r"(p));
  return p;
}
