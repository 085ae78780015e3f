// The life of a dialog kept in its slot of the form context.
#pragma once

#include <QDialog>
#include <QPointer>
#include <type_traits>

struct FormContext;

// A form's life: not loaded (the slot is empty), loaded (hidden until shown), unloaded (closed,
// and deleted once its own handlers returned).
template <class Form> Form& loadForm(QPointer<Form>& slot, FormContext& context)
{
    if (slot == nullptr) {
        slot = new Form(context);
        slot->fill();
    }
    return *slot;
}

template <class Form> void unloadForm(QPointer<Form>& slot)
{
    Form* form = slot;
    if (form == nullptr)
        return;
    slot = nullptr;
    if constexpr (std::is_base_of_v<QDialog, Form>)
        form->reject(); // ends a modal dialog's wait too
    else
        form->hide();
    form->deleteLater();
}

template <class Form> void unloadFormIfVisible(QPointer<Form>& slot)
{
    if (slot != nullptr && slot->isVisible())
        unloadForm(slot);
}
