// Loaded into the engine of every JSON document before the document itself.

// The number of members of c: the names a for-in loop over it lists, less the two that
// every object inherits below. Null and undefined have none.
function get__count(c) {
    var count = 0;
    if (c === null || c === undefined) {
        return 0;
    }
    for (var name in c) {
        if (Object.prototype.hasOwnProperty.call(c, name)) {
            count++;
        }
    }
    return count;
}

// A JSON object for engines that have none: stringify(value, replacer, indentation) and
// parse(text, reviver). parse reads nothing but JSON text; it never evaluates it.
if (typeof JSON !== 'object') {
    this.JSON = (function () {
        var escapes = {'"': '\\"', '\\': '\\\\', '\b': '\\b', '\f': '\\f', '\n': '\\n',
                       '\r': '\\r', '\t': '\\t'};
        var unescapes = {'"': '"', '\\': '\\', '/': '/', b: '\b', f: '\f', n: '\n', r: '\r',
                         t: '\t'};

        function isArray(value) {
            return Object.prototype.toString.call(value) === '[object Array]';
        }

        function quote(text) {
            return '"' + text.replace(/["\\\u0000-\u001f]/g, function (c) {
                return escapes[c] || '\\u' + ('000' + c.charCodeAt(0).toString(16)).slice(-4);
            }) + '"';
        }

        function stringify(value, replacer, indentation) {
            var gap = '';
            var stack = [];
            if (typeof indentation === 'number') {
                gap = '          '.slice(0, Math.max(0, Math.min(10, indentation)));
            } else if (typeof indentation === 'string') {
                gap = indentation.slice(0, 10);
            }

            function members(holder, names, indent, open, close, show) {
                var parts = [];
                for (var i = 0; i < names.length; i++) {
                    var part = show(names[i]);
                    if (part !== undefined) {
                        parts.push(part);
                    }
                }
                if (parts.length === 0) {
                    return open + close;
                }
                if (gap === '') {
                    return open + parts.join(',') + close;
                }
                var inner = indent + gap;
                return open + '\n' + inner + parts.join(',\n' + inner) + '\n' + indent + close;
            }

            function serialise(holder, key, indent) {
                var value = holder[key];
                if (value && typeof value.toJSON === 'function') {
                    value = value.toJSON(key);
                }
                if (typeof replacer === 'function') {
                    value = replacer.call(holder, key, value);
                }
                switch (typeof value) {
                    case 'string':
                        return quote(value);
                    case 'number':
                        return isFinite(value) ? String(value) : 'null';
                    case 'boolean':
                        return String(value);
                    case 'object':
                        break;
                    default:
                        return undefined;
                }
                if (value === null) {
                    return 'null';
                }
                for (var s = 0; s < stack.length; s++) {
                    if (stack[s] === value) {
                        throw new TypeError('cyclic structure');
                    }
                }
                stack.push(value);
                var inner = indent + gap;
                var text;
                if (isArray(value)) {
                    var indexes = [];
                    for (var i = 0; i < value.length; i++) {
                        indexes.push(i);
                    }
                    text = members(value, indexes, indent, '[', ']', function (index) {
                        var part = serialise(value, index, inner);
                        return part === undefined ? 'null' : part;
                    });
                } else {
                    var names = [];
                    if (isArray(replacer)) {
                        names = replacer;
                    } else {
                        for (var name in value) {
                            if (Object.prototype.hasOwnProperty.call(value, name)) {
                                names.push(name);
                            }
                        }
                    }
                    text = members(value, names, indent, '{', '}', function (name) {
                        var part = serialise(value, name, inner);
                        return part === undefined ? undefined
                                                  : quote(String(name)) + (gap ? ': ' : ':') + part;
                    });
                }
                stack.pop();
                return text;
            }

            return serialise({'': value}, '', '');
        }

        function parse(source, reviver) {
            var text = String(source);
            var at = 0;

            function fail() {
                throw new SyntaxError('invalid json at ' + at);
            }
            function skipBlanks() {
                while (at < text.length && ' \t\n\r'.indexOf(text.charAt(at)) >= 0) {
                    at++;
                }
            }
            function expect(word) {
                if (text.substr(at, word.length) !== word) {
                    fail();
                }
                at += word.length;
            }
            function digits() {
                var start = at;
                while (at < text.length && text.charAt(at) >= '0' && text.charAt(at) <= '9') {
                    at++;
                }
                if (at === start) {
                    fail();
                }
            }
            function number() {
                var start = at;
                if (text.charAt(at) === '-') {
                    at++;
                }
                if (text.charAt(at) === '0') {
                    at++;
                } else {
                    digits();
                }
                if (text.charAt(at) === '.') {
                    at++;
                    digits();
                }
                if (text.charAt(at) === 'e' || text.charAt(at) === 'E') {
                    at++;
                    if (text.charAt(at) === '+' || text.charAt(at) === '-') {
                        at++;
                    }
                    digits();
                }
                return Number(text.slice(start, at));
            }
            function string() {
                var result = '';
                at++;
                for (;;) {
                    var c = text.charAt(at++);
                    if (c === '"') {
                        return result;
                    }
                    if (c === '' || c < ' ') {
                        fail();
                    }
                    if (c !== '\\') {
                        result += c;
                        continue;
                    }
                    c = text.charAt(at++);
                    if (c === 'u') {
                        var hex = text.substr(at, 4);
                        if (!/^[0-9a-fA-F]{4}$/.test(hex)) {
                            fail();
                        }
                        result += String.fromCharCode(parseInt(hex, 16));
                        at += 4;
                    } else if (unescapes.hasOwnProperty(c)) {
                        result += unescapes[c];
                    } else {
                        fail();
                    }
                }
            }
            function list(close, item) {
                at++;
                skipBlanks();
                if (text.charAt(at) === close) {
                    at++;
                    return;
                }
                for (;;) {
                    item();
                    skipBlanks();
                    var c = text.charAt(at++);
                    if (c === close) {
                        return;
                    }
                    if (c !== ',') {
                        fail();
                    }
                    skipBlanks();
                }
            }
            function value(depth) {
                if (depth > 1000) {
                    fail();
                }
                skipBlanks();
                var c = text.charAt(at);
                if (c === '{') {
                    var object = {};
                    list('}', function () {
                        if (text.charAt(at) !== '"') {
                            fail();
                        }
                        var name = string();
                        skipBlanks();
                        expect(':');
                        object[name] = value(depth + 1);
                    });
                    return object;
                }
                if (c === '[') {
                    var array = [];
                    list(']', function () {
                        array.push(value(depth + 1));
                    });
                    return array;
                }
                if (c === '"') {
                    return string();
                }
                if (c === '-' || (c >= '0' && c <= '9')) {
                    return number();
                }
                var words = {t: true, f: false, n: null};
                if (!words.hasOwnProperty(c)) {
                    fail();
                }
                expect(String(words[c]));
                return words[c];
            }
            function revive(holder, key) {
                var item = holder[key];
                if (item && typeof item === 'object') {
                    for (var name in item) {
                        if (Object.prototype.hasOwnProperty.call(item, name)) {
                            var revived = revive(item, name);
                            if (revived === undefined) {
                                delete item[name];
                            } else {
                                item[name] = revived;
                            }
                        }
                    }
                }
                return reviver.call(holder, key, item);
            }

            var result = value(0);
            skipBlanks();
            if (at !== text.length) {
                fail();
            }
            return typeof reviver === 'function' ? revive({'': result}, '') : result;
        }

        return {stringify: stringify, parse: parse};
    })();
}

// toJSON of dates (UTC, to the second) and of the boxed primitives. Not enumerable, so
// that for-in loops over values do not list them.
(function () {
    function define(prototype, method) {
        Object.defineProperty(prototype, 'toJSON',
                              {value: method, writable: true, configurable: true});
    }
    function twoDigits(n) {
        return n < 10 ? '0' + n : String(n);
    }
    define(Date.prototype, function () {
        if (!isFinite(this.valueOf())) {
            return null;
        }
        return this.getUTCFullYear() + '-' + twoDigits(this.getUTCMonth() + 1) + '-' +
               twoDigits(this.getUTCDate()) + 'T' + twoDigits(this.getUTCHours()) + ':' +
               twoDigits(this.getUTCMinutes()) + ':' + twoDigits(this.getUTCSeconds()) + 'Z';
    });
    function primitive() {
        return this.valueOf();
    }
    define(String.prototype, primitive);
    define(Number.prototype, primitive);
    define(Boolean.prototype, primitive);
})();

// Every object can write itself as JSON text, and a text can read itself as JSON. These
// two are enumerable: for-in loops list them after an object's own names.
Object.prototype.toJSONString = function (filter) {
    return JSON.stringify(this, filter);
};
Object.prototype.parseJSON = function (filter) {
    return JSON.parse(this, filter);
};
