// The program's message boxes and dialogs, as HTML over the canvas.
import { HEIGHT, WIDTH, currentZoom } from './canvas.js';
import { ControlKind, KeyByName, Kind } from './seam.js';

const overlays = document.getElementById('overlays');

// A modal message box; `answered(ok)` once the player has closed it.
export function showMessageBox(text, title, okCancel, answered) {
  const shade = document.createElement('div');
  shade.className = 'modal-shade';
  const box = document.createElement('div');
  box.className = 'message-box';
  box.setAttribute('role', 'alertdialog');
  box.innerHTML = '<div class="caption"></div><div class="text"></div><div class="buttons"></div>';
  box.querySelector('.caption').textContent = title || 'Dovetail';
  box.querySelector('.text').textContent = text.replace(/\r\n/g, '\n');
  const close = (ok) => {
    shade.remove();
    box.remove();
    answered(ok);
  };
  const buttons = box.querySelector('.buttons');
  const add = (caption, ok) => {
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = caption;
    button.dataset.answer = ok ? 'ok' : 'cancel';
    button.addEventListener('click', () => close(ok));
    buttons.appendChild(button);
    return button;
  };
  const ok = add('OK', true);
  if (okCancel) add('キャンセル', false);
  box.addEventListener('keydown', (event) => {
    event.stopPropagation();
    if (event.key === 'Escape') close(!okCancel);
    else if (event.key === 'Enter') close(document.activeElement.dataset.answer !== 'cancel');
  });
  document.body.append(shade, box);
  ok.focus();
}

// The program's open dialogs, drawn from their descriptions (the program's
// JSON, made anew at every change) and kept by the number the program gives
// each; the player's actions are posted as the dialog's input.
export class DialogViews {
  constructor(post) {
    this.post = post;
    this.views = new Map();
  }

  show(id, description) {
    let view = this.views.get(id);
    const names = description.controls.map((control) => control.kind + ':' + control.name).join();
    if (!view || view.names !== names) {
      if (view) view.element.remove();
      view = this.build(id, description);
      view.names = names;
      this.views.set(id, view);
    }
    this.update(view, description);
  }

  build(id, description) {
    const element = document.createElement('div');
    element.className = 'dialog';
    element.setAttribute('role', 'dialog');
    element.dataset.dialog = String(id);
    const caption = document.createElement('div');
    caption.className = 'caption';
    const title = document.createElement('span');
    const closeBox = document.createElement('button');
    closeBox.type = 'button';
    closeBox.textContent = '×';
    closeBox.title = '閉じる';
    closeBox.addEventListener('click', () => this.post({ kind: Kind.DialogClose, dialog: id }));
    caption.append(title, closeBox);
    const client = document.createElement('div');
    client.className = 'client';
    element.append(caption, client);
    const controls = new Map();
    // Frames first, so that the controls in them lie on top.
    const ordered = description.controls.filter((c) => c.kind === ControlKind.Frame)
      .concat(description.controls.filter((c) => c.kind !== 'frame'));
    let firstText = null;
    for (const control of ordered) {
      const made = this.makeControl(id, control);
      made.element.style.left = control.left + 'px';
      made.element.style.top = control.top + 'px';
      made.element.style.width = control.width + 'px';
      made.element.style.height = control.height + 'px';
      made.element.dataset.control = control.name;
      client.appendChild(made.element);
      controls.set(control.name, made);
      if (control.kind === ControlKind.TextBox && !firstText) firstText = made.input;
    }
    element.addEventListener('keydown', (event) => {
      event.stopPropagation();
      if (event.key === 'Enter' && !(event.target.tagName === 'TEXTAREA') && !event.isComposing) {
        event.preventDefault();
        this.post({ kind: Kind.DialogKey, dialog: id, keyCode: KeyByName.Enter });
      } else if (event.key === 'Escape') {
        event.preventDefault();
        this.post({ kind: Kind.DialogKey, dialog: id, keyCode: KeyByName.Escape });
      }
    });
    overlays.appendChild(element);
    const view = { element, title, client, controls };
    requestAnimationFrame(() => (firstText || element.querySelector('button'))?.focus());
    return view;
  }

  makeControl(id, control) {
    const press = (event) => {
      event.preventDefault();
      this.post({ kind: Kind.Press, dialog: id, name: control.name });
    };
    switch (control.kind) {
      case ControlKind.TextBox: {
        const input = document.createElement(control.multiLine ? 'textarea' : 'input');
        if (control.maxLength > 0) input.maxLength = control.maxLength;
        input.addEventListener('input', () => {
          this.post({ kind: Kind.Type, dialog: id, text: input.value });
        });
        return { element: input, input };
      }
      case ControlKind.Button: {
        const button = document.createElement('button');
        button.type = 'button';
        button.addEventListener('click', press);
        return { element: button, text: button };
      }
      case ControlKind.CheckBox:
      case ControlKind.OptionButton: {
        const label = document.createElement('label');
        const input = document.createElement('input');
        input.type = control.kind === ControlKind.CheckBox ? 'checkbox' : 'radio';
        const text = document.createElement('span');
        label.append(input, text);
        label.addEventListener('click', press);
        return { element: label, input, text };
      }
      case ControlKind.Frame: {
        const fieldset = document.createElement('fieldset');
        const legend = document.createElement('legend');
        fieldset.appendChild(legend);
        return { element: fieldset, text: legend };
      }
      case ControlKind.Link: {
        const link = document.createElement('a');
        link.href = '#';
        link.addEventListener('click', press);
        return { element: link, text: link };
      }
      default: {
        const label = document.createElement('div');
        label.style.whiteSpace = 'pre-wrap';
        return { element: label, text: label };
      }
    }
  }

  update(view, description) {
    view.title.textContent = description.caption;
    view.client.style.width = description.width + 'px';
    view.client.style.height = description.height + 'px';
    for (const control of description.controls) {
      const made = view.controls.get(control.name);
      if (!made) continue;
      if (made.text) made.text.textContent = control.text.replace(/&(?!&)/g, '');
      if (made.input) {
        made.input.disabled = !control.enabled;
        if (control.kind === ControlKind.TextBox) {
          if (made.input.value !== control.text) made.input.value = control.text;
        } else {
          made.input.checked = control.checked;
        }
      }
      if (made.element.tagName === 'BUTTON') made.element.disabled = !control.enabled;
      made.element.classList.toggle('disabled', !control.enabled);
    }
    this.place(view);
  }

  place(view) {
    const zoom = currentZoom();
    const element = view.element;
    element.style.transformOrigin = '0 0';
    element.style.transform = 'scale(' + zoom + ')';
    const width = element.offsetWidth * zoom;
    const height = element.offsetHeight * zoom;
    element.style.left = Math.max(0, (WIDTH * zoom - width) / 2) + 'px';
    element.style.top = Math.max(0, (HEIGHT * zoom - height) / 2) + 'px';
  }

  close(id) {
    const view = this.views.get(id);
    if (view) view.element.remove();
    this.views.delete(id);
  }

  placeAll() {
    for (const view of this.views.values()) this.place(view);
  }

  removeAll() {
    for (const view of this.views.values()) view.element.remove();
    this.views.clear();
  }
}
