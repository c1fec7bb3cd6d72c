"use strict";
(function () {
  var main = document.getElementById("eintraege");
  var entries = Array.prototype.slice.call(main.getElementsByTagName("article"));
  entries.sort(function (a, b) { return a.dataset.i - b.dataset.i; });
  entries.forEach(function (e) {
    e.ord = e.dataset.o.split(" ").map(Number);
    e.words = e.dataset.k ? e.dataset.k.split(" ").map(Number) : [];
    var p = e.querySelector("img.p");
    if (p) p.dataset.poster = p.getAttribute("src");
  });
  var status = document.getElementById("anzahl");
  var boxes = Array.prototype.slice.call(document.querySelectorAll("#woerter input"));
  var orders = Array.prototype.slice.call(document.querySelectorAll("#ordnung input"));
  var matchAll = document.getElementById("und");
  var reduce = window.matchMedia("(prefers-reduced-motion: reduce)");
  var shown = [];

  // A row passes as the keyword dialog's filter lets it: "Oder" any ticked
  // keyword, "Und" every one, each looked for once.
  function passes(e, ticked, all) {
    if (!ticked.length) return true;
    var carried = 0;
    for (var i = 0; i < ticked.length; i++) {
      if (e.words.indexOf(ticked[i]) >= 0) {
        if (!all) return true;
        carried++;
      }
    }
    return carried >= ticked.length;
  }

  // The sorted list's insertion: rows in the catalogue's order, each placed
  // by the list box's binary search; an equal key met takes the new row below it.
  function update() {
    var order = 0;
    orders.forEach(function (o, n) { if (o.checked) order = n; });
    var ticked = boxes.filter(function (b) { return b.checked; }).map(function (b) { return Number(b.value); });
    var all = matchAll.checked;
    var rows = [];
    entries.forEach(function (e) {
      if (!passes(e, ticked, all)) return;
      var c = e.ord[order], low = 0, high = rows.length - 1, at = -1;
      while (low <= high) {
        var middle = (low + high) >> 1, d = rows[middle].ord[order] - c;
        if (d === 0) { at = middle; break; }
        if (d > 0) high = middle - 1; else low = middle + 1;
      }
      rows.splice(at < 0 ? low : at, 0, e);
    });
    var focused = document.activeElement;
    entries.forEach(function (e) { e.hidden = rows.indexOf(e) < 0; });
    rows.forEach(function (e) { main.appendChild(e); });
    if (focused && focused !== document.activeElement && !focused.hidden) focused.focus();
    shown = rows;
    var text = rows.length + " von " + entries.length;
    if (!rows.length) text += ". " + status.dataset.none;
    status.textContent = text;
  }

  // Only the entry looked at plays.
  var playing = null;
  function stop() {
    if (!playing) return;
    var p = playing.querySelector("img.p");
    p.src = p.dataset.poster;
    playing = null;
  }
  function play(e) {
    if (playing === e) return;
    stop();
    var p = e.querySelector("img.p");
    if (!p || reduce.matches) return;
    p.src = p.dataset.gif;
    playing = e;
  }

  var dialog = document.getElementById("ansicht");
  var title = document.getElementById("ansicht-titel");
  var file = document.getElementById("ansicht-datei");
  var picture = document.getElementById("bild");
  var note = document.getElementById("ansicht-text");
  var zoomText = document.getElementById("zoom");
  var current = null, zoom = 1;

  function setZoom(z) {
    zoom = z;
    zoomText.textContent = z * 100 + " %";
    if (!current) return;
    var p = current.querySelector("img.p");
    if (!p) return;
    picture.style.width = p.width * z + "px";
    picture.style.height = p.height * z + "px";
  }
  function show(e) {
    current = e;
    title.textContent = e.querySelector("h2").textContent;
    file.textContent = e.querySelector("dd.f").textContent;
    var p = e.querySelector("img.p"), d = e.querySelector(".d,.k");
    note.textContent = d ? d.textContent : "";
    note.hidden = !d;
    if (p) {
      picture.hidden = false;
      picture.alt = p.alt;
      picture.src = p.dataset.gif;
    } else {
      picture.hidden = true;
      picture.removeAttribute("src");
      picture.alt = "";
    }
    setZoom(zoom);
  }
  function open(e) {
    stop();
    zoom = 1;
    show(e);
    if (!dialog.open) dialog.showModal();
  }
  function step(by) {
    var n = shown.indexOf(current) + by;
    if (n >= 0 && n < shown.length) show(shown[n]);
  }
  dialog.addEventListener("keydown", function (event) {
    var k = event.key;
    if (k === "+" || k === "=") setZoom(2);
    else if (k === "-" || k === "0") setZoom(1);
    else if (k === "ArrowRight" || k === "ArrowDown") step(1);
    else if (k === "ArrowLeft" || k === "ArrowUp") step(-1);
    else return;
    event.preventDefault();
  });
  document.getElementById("groesser").addEventListener("click", function () { setZoom(2); });
  document.getElementById("kleiner").addEventListener("click", function () { setZoom(1); });
  document.getElementById("schliessen").addEventListener("click", function () { dialog.close(); });
  dialog.addEventListener("close", function () {
    picture.removeAttribute("src");
    if (current) {
      current.focus();
      current.scrollIntoView({block: "nearest"});
    }
  });

  entries.forEach(function (e) {
    e.addEventListener("mouseenter", function () { play(e); });
    e.addEventListener("mouseleave", function () { if (playing === e && document.activeElement !== e) stop(); });
    e.addEventListener("focus", function () { play(e); });
    e.addEventListener("blur", function () { if (playing === e && !e.matches(":hover")) stop(); });
    e.addEventListener("click", function () { open(e); });
    e.addEventListener("keydown", function (event) {
      if (event.key === "Enter" && event.target === e) {
        event.preventDefault();
        open(e);
      }
    });
  });
  reduce.addEventListener("change", function () { if (reduce.matches) stop(); });
  boxes.concat(orders, [matchAll, document.getElementById("oder")]).forEach(function (b) {
    b.addEventListener("change", update);
  });
  document.getElementById("alle").addEventListener("click", function () {
    boxes.forEach(function (b) { b.checked = false; });
    document.getElementById("oder").checked = true;
    update();
  });
  document.getElementById("steuerung").hidden = false;
  update();
})();
