// The menu bar, mirrored from the program's items: items with a menu go into
// its drop-down list, the others stand in the bar; a click posts the item's
// MenuClick to the session.
import { Kind } from './seam.js';

export function renderMenu(session, items) {
  const menu = document.getElementById('menu');
  menu.textContent = '';
  const drops = new Map();
  const itemElement = (item) => {
    const element = document.createElement('div');
    const [caption, hint] = item.caption.replace(/&(?!&)/g, '').split('\t');
    element.className = 'item' + (item.enabled ? '' : ' disabled') + (item.checked ? ' checked' : '');
    element.dataset.menu = item.name;
    element.setAttribute('role', item.checkable ? 'menuitemcheckbox' : 'menuitem');
    if (item.checkable) element.setAttribute('aria-checked', String(item.checked));
    const text = document.createElement('span');
    text.textContent = caption;
    element.appendChild(text);
    if (hint) {
      const key = document.createElement('span');
      key.className = 'hint';
      key.textContent = hint;
      element.appendChild(key);
    }
    element.addEventListener('click', (event) => {
      event.stopPropagation();
      closeMenus();
      if (item.enabled) session.post({ kind: Kind.MenuClick, name: item.name });
    });
    return element;
  };
  for (const item of items) {
    if (!item.menu) {
      menu.appendChild(itemElement(item));
      continue;
    }
    let drop = drops.get(item.menu);
    if (!drop) {
      drop = document.createElement('div');
      drop.className = 'drop';
      const title = document.createElement('div');
      title.className = 'title';
      title.textContent = item.menu.replace(/&(?!&)/g, '');
      title.addEventListener('click', () => drop.classList.toggle('open'));
      const list = document.createElement('div');
      list.className = 'list';
      list.setAttribute('role', 'menu');
      drop.append(title, list);
      menu.appendChild(drop);
      drops.set(item.menu, drop);
    }
    drop.querySelector('.list').appendChild(itemElement(item));
  }
}

// Closes every open drop-down list.
export function closeMenus() {
  document.getElementById('menu').querySelectorAll('.drop.open')
    .forEach((drop) => drop.classList.remove('open'));
}
