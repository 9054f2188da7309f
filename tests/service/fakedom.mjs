// The little of the DOM the pages use, enough to run their scripts in node.
export class FakeElement {
  constructor(tag) {
    this.tagName = tag.toUpperCase();
    this.children = [];
    this.parentNode = null;
    this.attributes = {};
    this.listeners = {};
    this.style = { display: '' };
    this.className = '';
    this.innerHTML = '';
    this.text = '';
  }

  get id() { return this.attributes.id || ''; }
  set id(v) { this.attributes.id = String(v); }
  get firstChild() { return this.children[0] || null; }

  get textContent() {
    return this.text + this.children.map((c) => c.textContent).join('');
  }

  set textContent(v) {
    this.children = [];
    this.text = String(v);
  }

  setAttribute(name, value) { this.attributes[name] = String(value); }
  getAttribute(name) { return name in this.attributes ? this.attributes[name] : null; }

  appendChild(child) {
    child.parentNode = this;
    this.children.push(child);
    return child;
  }

  removeChild(child) {
    this.children = this.children.filter((c) => c !== child);
    child.parentNode = null;
    return child;
  }

  addEventListener(type, fn) { (this.listeners[type] = this.listeners[type] || []).push(fn); }
  click() { (this.listeners.click || []).forEach((fn) => fn({ target: this })); }

  *walk() {
    yield this;
    for (const c of this.children) yield* c.walk();
  }

  find(pred) {
    for (const e of this.walk()) if (pred(e)) return e;
    return null;
  }
}

export class FakeDocument {
  constructor() {
    this.body = new FakeElement('body');
    this.visibilityState = 'visible';
    const app = new FakeElement('div');
    app.id = 'app';
    this.body.appendChild(app);
  }

  createElement(tag) { return new FakeElement(tag); }
  getElementById(id) { return this.body.find((e) => e.id === id); }
  addEventListener() {}
}
